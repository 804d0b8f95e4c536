// Runs a program with arguments (no shell between), in a given folder, with
// its standard output and error captured, for tests of the developer tools
// and scripts.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ProgramResult {
  int status = -1;  // the exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& folder = std::filesystem::current_path());
