#include "support/temp_folder.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "player-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  m_Path = pattern;
}

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::permissions(m_Path, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, error);
  std::filesystem::remove_all(m_Path, error);
}

ScopedCurrentFolder::ScopedCurrentFolder(const std::filesystem::path& folder)
    : m_Previous(std::filesystem::current_path()) {
  std::filesystem::current_path(folder);
}

ScopedCurrentFolder::~ScopedCurrentFolder() {
  std::error_code error;
  std::filesystem::current_path(m_Previous, error);
}

void WriteTextFile(const std::filesystem::path& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadTextFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
