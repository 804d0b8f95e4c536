// A fresh folder for one test, removed with its contents when the test ends.
// A ScopedCurrentFolder makes it the current folder for the test's relative
// paths and restores the previous one afterwards.
#pragma once

#include <filesystem>
#include <span>
#include <string_view>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return m_Path; }
  std::filesystem::path operator/(std::string_view name) const { return m_Path / name; }

 private:
  std::filesystem::path m_Path;
};

class ScopedCurrentFolder {
 public:
  explicit ScopedCurrentFolder(const std::filesystem::path& folder);
  ~ScopedCurrentFolder();
  ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
  ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

 private:
  std::filesystem::path m_Previous;
};

// Small file helpers for fixtures.
void WriteTextFile(const std::filesystem::path& path, std::string_view text);
std::string ReadTextFile(const std::filesystem::path& path);
