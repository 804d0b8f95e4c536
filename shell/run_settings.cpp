#include "shell/run_settings.h"

#include <cstdint>
#include <cstdlib>
#include "base/close_request.h"
#include "base/input_script.h"
#include "base/report.h"
#include "platform/clock.h"
#include "platform/process_start.h"

namespace {
std::atomic<int> g_nPresented{0};
std::atomic<double> g_FirstFrameMs{-1.0};
}  // namespace

int ShowWindowValue(const std::function<const char*(const char*)>& lookup) {
  const char* value = lookup ? lookup("PLAYER_SHOW_WINDOW") : std::getenv("PLAYER_SHOW_WINDOW");
  if (!value || *value == '\0') return 1;
  char* end = nullptr;
  const long n = std::strtol(value, &end, 10);
  return *end == '\0' && n >= 0 && n <= 11 ? static_cast<int>(n) : 1;
}

bool ReadRunSettings(RunSettings& settings, const std::function<const char*(const char*)>& lookup) {
  const auto get = [&](const char* name) -> std::string {
    const char* value = lookup ? lookup(name) : std::getenv(name);
    return value ? value : "";
  };
  settings = {};
  const std::string headless = get("PLAYER_HEADLESS");
  settings.bHeadless = !headless.empty() && headless != "0";
  const std::string clock = get("PLAYER_CLOCK");
  if (!clock.empty() && clock != "virtual" && clock != "real") {
    ReportF("PLAYER_CLOCK=%s: use virtual or real", clock.c_str());
    return false;
  }
  settings.bVirtualClock = clock == "virtual";
  settings.inputScript = get("PLAYER_INPUT_SCRIPT");
  settings.dumpFrame = get("PLAYER_DUMP_FRAME");
  settings.dumpState = get("PLAYER_DUMP_STATE");
  settings.dumpDigests = get("PLAYER_DUMP_DIGESTS");
  const std::string frames = get("PLAYER_FRAMES");
  if (!frames.empty()) {
    char* end = nullptr;
    const long n = std::strtol(frames.c_str(), &end, 10);
    if (*end != '\0' || n < 1 || n > 1000000000L) {
      ReportF("PLAYER_FRAMES=%s: use a number of frames from 1", frames.c_str());
      return false;
    }
    settings.nCloseAfterFrames = static_cast<int>(n);
  }
  return true;
}

bool ApplyRunSettings(const RunSettings& settings) {
  if (settings.bVirtualClock) {
    static platform::VirtualClock clock;  // lives as long as the process
    platform::SetClock(&clock);
  }
  return settings.inputScript.empty() || LoadInputScript(settings.inputScript);
}

void CountPresentedFrame(const RunSettings& settings) {
  const int count = ++g_nPresented;
  if (settings.bHeadless) NoteFrameShown();
  if (settings.nCloseAfterFrames > 0 && count == settings.nCloseAfterFrames) RequestMainWindowClose();
}

int PresentedFrameCount() { return g_nPresented.load(); }

void NoteFrameShown() {
  if (g_FirstFrameMs.load() >= 0) return;
  double unset = -1.0;
  g_FirstFrameMs.compare_exchange_strong(unset, platform::MillisecondsSinceProcessStart());
}

double FirstFrameMilliseconds() { return g_FirstFrameMs.load(); }

void ResetPresentedFrames() {
  g_nPresented = 0;
  g_FirstFrameMs = -1.0;
}
