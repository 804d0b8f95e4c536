// The code folders are layers: each may include only the folders below it,
// so that every library links only downward and none forms a cycle.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

// Each layer and the layers it may use, lowest first.
const std::map<std::string, std::set<std::string>> kLayers = {
    {"platform", {}},
    {"base", {"platform"}},
    {"model", {"base", "platform"}},
    {"game", {"model", "base", "platform"}},
    {"graphics", {"game", "base", "platform"}},
    {"shell", {"graphics", "model", "base", "platform"}},
    {"scenes", {"shell", "graphics", "game", "model", "base", "platform"}},
    {"app", {"scenes", "shell", "graphics", "game", "model", "base", "platform"}},
};

TEST(LayersTest, EachFolderIncludesOnlyTheLayersBelowIt) {
  const std::regex include(R"(#include\s+"([a-z_]+)/)");
  int files = 0;
  for (const auto& [layer, below] : kLayers) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(SOURCE_DIR) / layer)) {
      const auto extension = entry.path().extension();
      if (extension != ".h" && extension != ".cpp") continue;
      ++files;
      std::ifstream in(entry.path());
      std::string line;
      while (std::getline(in, line)) {
        std::smatch match;
        if (!std::regex_search(line, match, include)) continue;
        const std::string used = match[1];
        if (used == layer || !kLayers.contains(used)) continue;
        EXPECT_TRUE(below.contains(used)) << entry.path() << " includes " << line;
      }
    }
  }
  EXPECT_GT(files, 100);
}

}  // namespace
