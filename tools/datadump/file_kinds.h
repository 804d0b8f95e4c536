// The kinds of data file that datadump knows, told apart by file name.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct cFileKind {
  const char* description;
  const char* fileName;  // as a user would name it, for the usage text
  // name: the file's name without folders, in lower case.
  bool (*Matches)(const std::string& name);
  // Loads the file (its path and whole image) and prints it as JSON; false
  // with the reason.
  bool (*Dump)(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& json,
               std::string& error);
};

std::span<const cFileKind> FileKinds();
// The kind of a file name, or null when none matches.
const cFileKind* FindFileKind(const std::string& fileName);
