#include "platform/transcript.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace platform {

namespace {

std::mutex g_Mutex;
bool g_bChosen = false;
std::string g_Path;

}  // namespace

void SetTranscriptFile(std::string_view path) {
  std::lock_guard lock(g_Mutex);
  g_bChosen = true;
  g_Path = path;
}

void TranscriptLine(std::string_view utf8) {
  std::lock_guard lock(g_Mutex);
  if (!g_bChosen) {
    const char* path = std::getenv("PLAYER_TRANSCRIPT");
    g_Path = path ? path : "";
    g_bChosen = true;
  }
  if (g_Path.empty()) return;
  // Opened for each line, so that a run that ends abruptly loses nothing.
  std::FILE* f = std::fopen(g_Path.c_str(), "ab");
  if (!f) return;
  std::fwrite(utf8.data(), 1, utf8.size(), f);
  std::fputc('\n', f);
  std::fclose(f);
}

}  // namespace platform
