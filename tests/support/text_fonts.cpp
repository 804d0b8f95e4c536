#include "support/text_fonts.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/font_faces.h"
#include "platform/text_engine.h"

namespace {

constexpr const char* kFontFiles[] = {"ipag.ttf", "ipagp.ttf", "ipam.ttf", "ipamp.ttf"};

std::filesystem::path IpaFile(const char* name) {
  const bool gothic = name[3] == 'g';
  return std::filesystem::path("/usr/share/fonts/opentype") / (gothic ? "ipafont-gothic" : "ipafont-mincho") / name;
}

std::uint64_t Fnv1a64(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::uint64_t hash = 0xcbf29ce484222325ull;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 0x100000001b3ull;
    }
  }
  return hash;
}

std::filesystem::path RecordPath() { return GoldenPath("fonts/environment").replace_extension(".txt"); }

}  // namespace

bool IpaFontsInstalled() {
  const platform::ResolvedFace face = platform::ResolveFace("IPAGothic");
  std::error_code error;
  return !face.file.empty() && std::filesystem::canonical(face.file, error).filename() == "ipag.ttf" &&
         std::filesystem::exists(IpaFile("ipagp.ttf"), error);
}

std::string TextEnvironment() {
  std::ostringstream out;
  out << platform::TextEngineVersion() << "\n";
  for (const char* name : kFontFiles) {
    std::error_code error;
    const auto size = std::filesystem::file_size(IpaFile(name), error);
    if (error) {
      out << name << " missing\n";
      continue;
    }
    out << name << " " << size << " bytes, FNV-1a " << std::hex << Fnv1a64(IpaFile(name)) << std::dec << "\n";
  }
  return out.str();
}

TextGoldenResult CompareTextGolden(const GoldenImage& image, const std::string& name) {
  TextGoldenResult result;
  const std::string here = TextEnvironment();
  if (UpdatingGoldens()) {
    std::filesystem::create_directories(RecordPath().parent_path());
    std::ofstream(RecordPath()) << here;
  }
  const testing::AssertionResult match = MatchesGolden(image, name, "text environment of this machine:\n" + here);
  result.matches = static_cast<bool>(match);
  if (result.matches) return result;
  std::ifstream in(RecordPath());
  const std::string recorded((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  result.machineDiffers = recorded != here;
  result.message = match.message();
  if (result.machineDiffers) {
    result.message = "text golden " + name + " was made with other fonts or another FreeType, so it cannot hold here.\n" +
                     "recorded:\n" + recorded + "this machine:\n" + here + result.message;
  }
  return result;
}
