// make-demo [--force] FOLDER: writes the demo project into FOLDER (created
// when missing), prints every file it wrote and how many, and exits 0.
//
// The project is written into a temporary folder beside FOLDER first and
// moved into place once complete, so that a failure leaves nothing behind.
// A file of FOLDER that the demo would replace (also one whose name differs
// only in letter case, which the player would read instead) stops it before
// anything is moved, unless the file already holds the demo's bytes or
// --force is given; files the demo does not write are left alone.
//
// Exit status: 0 written, 1 not written (the reason on standard error), 2
// usage error.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/files.h"
#include "tools/make-demo/demo_data.h"
#include "tools/make-demo/demo_images.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: make-demo [--force] FOLDER\n"
    "Writes the demo project into FOLDER, creating it when missing.\n"
    "Files of FOLDER that the demo would replace stop it unless they already\n"
    "hold the demo's bytes; --force replaces them. Other files are left alone.\n";

struct Arguments {
  fs::path folder;
  bool force = false;
};

// 0 to go on, else the exit status.
int ParseArguments(int argc, char** argv, Arguments& args) {
  bool folderGiven = false;
  bool optionsEnd = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!optionsEnd && (arg == "-h" || arg == "--help")) {
      std::fputs(kUsage, stdout);
      return -1;
    }
    if (!optionsEnd && arg == "--force") {
      args.force = true;
    } else if (!optionsEnd && arg == "--") {
      optionsEnd = true;
    } else if (!optionsEnd && arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "make-demo: unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    } else if (folderGiven || arg.empty()) {
      std::fprintf(stderr, "%s%s", arg.empty() ? "make-demo: the folder name is empty\n" : "", kUsage);
      return 2;
    } else {
      args.folder = arg;
      folderGiven = true;
    }
  }
  if (!folderGiven) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  return 0;
}

// The files (or the folders) below root, relative to it with '/', sorted:
// a folder comes before the folders inside it.
std::vector<std::string> ListBelow(const fs::path& root, bool folders) {
  std::vector<std::string> found;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (folders ? entry.is_directory() : entry.is_regular_file()) {
      found.push_back(fs::relative(entry.path(), root).generic_string());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

bool SameLetters(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// What stands at root/relative as the player would find it: each component
// exactly, else without regard to letter case. Empty when nothing does.
std::optional<fs::path> FindAsPlayer(const fs::path& root, const std::string& relative) {
  fs::path found = root;
  for (const fs::path& part : fs::path(relative)) {
    std::error_code error;
    if (fs::exists(fs::symlink_status(found / part, error))) {
      found /= part;
      continue;
    }
    std::optional<fs::path> match;
    for (fs::directory_iterator it(found, error), end; !error && it != end; it.increment(error)) {
      if (SameLetters(it->path().filename().string(), part.string())) match = it->path();
    }
    if (!match) return std::nullopt;
    found = *match;
  }
  return found;
}

bool HoldsBytes(const fs::path& path, const fs::path& expected) {
  std::vector<std::uint8_t> a, b;
  return platform::ReadWholeFile(path, a) && platform::ReadWholeFile(expected, b) && a == b;
}

// The files of the target that the staged project would replace and that
// differ from it, and files that stand where it needs a folder.
std::vector<std::string> FindConflicts(const fs::path& staging, const fs::path& target,
                                       const std::vector<std::string>& files) {
  std::vector<std::string> conflicts;
  std::error_code error;
  for (const std::string& file : files) {
    fs::path folder;
    for (const fs::path& part : fs::path(file).parent_path()) {
      folder /= part;
      const std::optional<fs::path> existing = FindAsPlayer(target, folder.string());
      if (existing && !fs::is_directory(*existing, error)) {
        conflicts.push_back(fs::relative(*existing, target).generic_string());
      }
    }
    const std::optional<fs::path> existing = FindAsPlayer(target, file);
    if (existing && !HoldsBytes(*existing, staging / file)) {
      conflicts.push_back(fs::relative(*existing, target).generic_string());
    }
  }
  std::sort(conflicts.begin(), conflicts.end());
  conflicts.erase(std::unique(conflicts.begin(), conflicts.end()), conflicts.end());
  return conflicts;
}

// The folder of the target where the player reads `relative` (an existing
// folder of another letter case included), created when missing; a file
// standing in the way, which FindConflicts reported, is removed first.
// Folders it creates are appended to `added`.
bool EnsureFolder(const fs::path& target, const fs::path& relative, fs::path& folder,
                  std::vector<fs::path>& added, std::string& error) {
  folder = target;
  std::error_code failure;
  for (const fs::path& part : relative) {
    const std::optional<fs::path> existing = FindAsPlayer(folder, part.string());
    if (existing && fs::is_directory(*existing, failure)) {
      folder = *existing;
      continue;
    }
    if (existing) fs::remove(*existing, failure);
    folder /= part;
    if (!fs::create_directory(folder, failure)) {
      error = folder.string() + ": cannot be created: " + failure.message();
      return false;
    }
    added.push_back(folder);
  }
  return true;
}

// Moves the staged folders and files into an existing target. On a failure
// the files and folders it added are removed again and false is returned
// with the reason; files it replaced stay replaced.
bool MergeInto(const fs::path& staging, const fs::path& target, const std::vector<std::string>& folders,
               const std::vector<std::string>& files, std::string& error) {
  std::vector<fs::path> added;  // in the order made: folders before what they hold
  const auto undo = [&added] {
    std::error_code ignored;
    for (auto it = added.rbegin(); it != added.rend(); ++it) fs::remove(*it, ignored);
    return false;
  };
  fs::path folder;
  for (const std::string& relative : folders) {
    if (!EnsureFolder(target, relative, folder, added, error)) return undo();
  }
  for (const std::string& file : files) {
    if (!EnsureFolder(target, fs::path(file).parent_path(), folder, added, error)) return undo();
    const fs::path name = fs::path(file).filename();
    const fs::path destination = folder / name;
    const std::optional<fs::path> existing = FindAsPlayer(folder, name.string());
    std::error_code ignored;
    if (existing && *existing != destination) fs::remove(*existing, ignored);
    if (::rename((staging / file).c_str(), destination.c_str()) != 0) {
      error = destination.string() + ": cannot be written: " + std::strerror(errno);
      return undo();
    }
    if (!existing) added.push_back(destination);
  }
  return true;
}

// Writes the demo project into a fresh folder; false with the reason.
bool WriteProject(const fs::path& folder, std::string& error) {
  return demo::WriteDemoImages(folder, error) && demo::WriteDemoData(folder, error);
}

int Run(const Arguments& args) {
  std::error_code error;
  fs::path target = fs::absolute(args.folder, error).lexically_normal();
  if (!target.has_filename()) target = target.parent_path();  // "FOLDER/"
  const std::string shown = args.folder.string();
  if (fs::exists(target, error) && !fs::is_directory(target, error)) {
    std::fprintf(stderr, "make-demo: %s: not a folder\n", shown.c_str());
    return 1;
  }
  const fs::path parent = target.parent_path();
  fs::create_directories(parent, error);
  if (error) {
    std::fprintf(stderr, "make-demo: %s: cannot be created: %s\n", parent.c_str(), error.message().c_str());
    return 1;
  }
  std::string stagingName = ".";
  stagingName += target.filename().string();
  stagingName += ".make-demo-" + std::to_string(::getpid());
  const fs::path staging = parent / stagingName;
  fs::remove_all(staging, error);
  struct RemoveStaging {
    fs::path path;
    ~RemoveStaging() {
      std::error_code ignored;
      fs::remove_all(path, ignored);
    }
  } cleanup{staging};

  std::string reason;
  if (!fs::create_directory(staging, error)) {
    std::fprintf(stderr, "make-demo: %s: cannot be created: %s\n", staging.c_str(), error.message().c_str());
    return 1;
  }
  if (!WriteProject(staging, reason)) {
    std::fprintf(stderr, "make-demo: %s: nothing written: %s\n", shown.c_str(), reason.c_str());
    return 1;
  }
  const std::vector<std::string> files = ListBelow(staging, false);

  if (!fs::exists(target, error) || fs::is_empty(target, error)) {
    if (::rename(staging.c_str(), target.c_str()) != 0) {
      std::fprintf(stderr, "make-demo: %s: cannot be written: %s\n", shown.c_str(), std::strerror(errno));
      return 1;
    }
  } else {
    const std::vector<std::string> conflicts = FindConflicts(staging, target, files);
    if (!conflicts.empty() && !args.force) {
      std::fprintf(stderr, "make-demo: %s holds %zu files that the demo would replace:\n", shown.c_str(),
                   conflicts.size());
      for (const std::string& file : conflicts) std::fprintf(stderr, "  %s\n", file.c_str());
      std::fprintf(stderr, "make-demo: nothing written; use --force to replace them, or another folder\n");
      return 1;
    }
    if (!MergeInto(staging, target, ListBelow(staging, true), files, reason)) {
      std::fprintf(stderr, "make-demo: %s: nothing written: %s\n", shown.c_str(), reason.c_str());
      return 1;
    }
  }
  for (const std::string& file : files) std::printf("%s\n", file.c_str());
  std::printf("make-demo: %zu files written to %s\n", files.size(), shown.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (const int status = ParseArguments(argc, argv, args); status != 0) return status < 0 ? 0 : status;
  try {
    return Run(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-demo: %s\n", e.what());
    return 1;
  }
}
