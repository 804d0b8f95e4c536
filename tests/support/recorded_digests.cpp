#include "support/recorded_digests.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr int kTextEvery = 60;

std::string Hash(const std::string& text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

std::string RecordingText(const std::vector<std::string>& frames, const std::string& header) {
  std::string text;
  std::istringstream lines(header);
  for (std::string line; std::getline(lines, line);) text += "# " + line + "\n";
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const int frame = static_cast<int>(i) + 1;
    text += std::to_string(frame) + " " + Hash(frames[i]) + "\n";
    if (frame % kTextEvery == 0) text += "  " + frames[i] + "\n";
  }
  return text;
}

struct Recording {
  std::vector<std::string> hashes;             // by frame - 1
  std::vector<std::pair<int, std::string>> texts;  // frame, digest text
};

bool ReadRecording(const std::filesystem::path& path, Recording& recording) {
  std::ifstream in(path);
  if (!in) return false;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("  ", 0) == 0) {
      recording.texts.emplace_back(static_cast<int>(recording.hashes.size()), line.substr(2));
      continue;
    }
    const std::size_t space = line.find(' ');
    if (space == std::string::npos || std::atoi(line.c_str()) != static_cast<int>(recording.hashes.size()) + 1) {
      return false;
    }
    recording.hashes.push_back(line.substr(space + 1));
  }
  return true;
}

}  // namespace

testing::AssertionResult MatchesRecordedDigests(const std::vector<std::string>& frames, const std::string& name,
                                                const std::string& header) {
  const std::filesystem::path recorded = std::filesystem::path(GOLDEN_DIR) / "digests" / (name + ".txt");
  const std::string actual = RecordingText(frames, header);
  const char* update = std::getenv("UPDATE_DIGESTS");
  if (update && std::string(update) == "1") {
    std::ofstream out(recorded, std::ios::binary);
    out << actual;
    if (!out) return testing::AssertionFailure() << "cannot write " << recorded;
    return testing::AssertionSuccess();
  }
  Recording recording;
  if (!ReadRecording(recorded, recording)) {
    return testing::AssertionFailure() << "no readable recording " << recorded
                                       << " (run with UPDATE_DIGESTS=1 to make it)";
  }
  std::size_t first = 0;
  while (first < frames.size() && first < recording.hashes.size() && Hash(frames[first]) == recording.hashes[first]) {
    ++first;
  }
  if (first == frames.size() && first == recording.hashes.size()) return testing::AssertionSuccess();

  const std::filesystem::path out = std::filesystem::path(GOLDEN_OUTPUT_DIR) / "digests" / (name + ".txt");
  std::filesystem::create_directories(out.parent_path());
  std::ofstream(out, std::ios::binary) << actual;
  std::ostringstream message;
  message << "the play differs from the recording " << recorded << " ";
  if (first == frames.size() || first == recording.hashes.size()) {
    message << "in length: " << frames.size() << " frames played, " << recording.hashes.size() << " recorded";
  } else {
    message << "first at frame " << first + 1 << ":\n  actual:   " << frames[first];
    // The recorded text nearest before the frame, and the actual one of the same frame.
    for (auto it = recording.texts.rbegin(); it != recording.texts.rend(); ++it) {
      if (it->first > static_cast<int>(first) + 1) continue;
      message << "\n  at frame " << it->first << " recorded: " << it->second
              << "\n  at frame " << it->first << " actual:   " << frames[static_cast<std::size_t>(it->first) - 1];
      break;
    }
  }
  message << "\nthe actual recording is written to " << out
          << "; when the change is meant, re-record with UPDATE_DIGESTS=1 and say why in the commit";
  return testing::AssertionFailure() << message.str();
}
