// The kinds of data file that datadump knows, told apart by file name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct cFileKind {
  const char* description;
  // name: the file's name without folders, in lower case.
  bool (*Matches)(const std::string& name);
  // Loads the file (its path and whole image) and prints it as JSON; false
  // with the reason.
  bool (*Dump)(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& json,
               std::string& error);
};

// The kind of a file name, or null when none matches.
const cFileKind* FindFileKind(const std::string& fileName);
