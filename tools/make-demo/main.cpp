// make-demo FOLDER: writes the demo project into FOLDER (created when
// missing): its pictures, then its data. Prints every file of the project
// folder afterwards and exits 0; on failure prints what could not be
// written and exits 1.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/make-demo/demo_data.h"
#include "tools/make-demo/demo_images.h"

namespace {

namespace fs = std::filesystem;

// The files below root, relative to it, in a fixed order.
std::vector<std::string> ListFiles(const fs::path& root) {
  std::vector<std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root).generic_string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-demo FOLDER\n");
    return 1;
  }
  const fs::path root = argv[1];
  std::string error;
  if (!demo::WriteDemoImages(root, error) || !demo::WriteDemoData(root, error)) {
    std::fprintf(stderr, "make-demo: %s\n", error.c_str());
    return 1;
  }
  try {
    const std::vector<std::string> files = ListFiles(root);
    for (const std::string& file : files) std::printf("%s\n", file.c_str());
    std::printf("make-demo: %zu files written to %s\n", files.size(), root.string().c_str());
  } catch (const fs::filesystem_error& e) {
    std::fprintf(stderr, "make-demo: %s\n", e.what());
    return 1;
  }
  return 0;
}
