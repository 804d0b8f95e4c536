// The input of a fuzz target whose reader takes a path: the bytes written
// to a file in a folder of the process's own (removed at exit).
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class FuzzFolder {
 public:
  FuzzFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) std::abort();
    m_Path = pattern;
  }
  ~FuzzFolder() {
    std::error_code error;
    std::filesystem::remove_all(m_Path, error);
  }
  const std::string& Path() const { return m_Path; }

 private:
  std::string m_Path;
};

// A Linux path, which the program's paths also accept ('/' separates too).
inline std::string FuzzInputFile(const std::uint8_t* data, std::size_t size, const char* name) {
  static const FuzzFolder folder;
  const std::string path = folder.Path() + "/" + name;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  file.close();
  if (!file) std::abort();
  return path;
}
