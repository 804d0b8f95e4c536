#include "app/state_dump.h"

#include <cstdio>
#include <fstream>

#include "base/report.h"
#include "model/user/save_data.h"
#include "platform/system_info.h"
#include "platform/text.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_digest.h"
#include "scenes/stage/stage_scene.h"
#include "shell/run_settings.h"

namespace {

const char* SceneName(int kind) {
  static const char* const kNames[SCENE_KIND_COUNT] = {"title", "worldmap", "storymenu",
                                                       "stageselect", "stage", "option"};
  return kind >= 0 && kind < SCENE_KIND_COUNT ? kNames[kind] : "none";
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::string StateDumpJson() {
  const cSceneManager& manager = g_SceneManager;
  const cScene* scene = manager.Scene(manager.m_nScene);
  std::string json = "{";
  json += "\"frame\": " + std::to_string(PresentedFrameCount());
  json += ", \"scene\": " + JsonString(SceneName(manager.m_nScene));
  json += ", \"state\": " + std::to_string(scene ? scene->m_nState : -1);
  json += ", \"prev_scene\": " + JsonString(SceneName(manager.m_nPrevScene));
  json += ", \"play_mode\": " + std::to_string(manager.m_nPlayMode);
  json += ", \"play_start\": " + std::to_string(manager.m_nPlayStart);
  char figures[96];
  std::snprintf(figures, sizeof figures, ", \"first_frame_ms\": %.1f, \"peak_rss_kb\": %llu", FirstFrameMilliseconds(),
                static_cast<unsigned long long>(platform::PeakResidentBytes() / 1024));
  json += figures;
  json += ", \"stage_file\": " + JsonString(platform::Cp932ToUtf8(g_SaveData.m_strStagePath));
  if (const auto* stage = static_cast<const cStageScene*>(manager.Scene(SCENE_STAGE)))
    json += ", \"stage\": " + StageDigestJson(*stage);
  return json + "}\n";
}

bool WriteStateDump(const std::string& path) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << StateDumpJson();
  file.close();
  if (!file) {
    ReportF("PLAYER_DUMP_STATE: cannot write %s", path.c_str());
    return false;
  }
  return true;
}

bool AppendStageDigestLine(const std::string& path) {
  static std::ofstream file(path, std::ios::binary | std::ios::trunc);
  static bool reported = false;
  const auto* stage = static_cast<const cStageScene*>(g_SceneManager.Scene(SCENE_STAGE));
  if (stage) file << StageDigestJson(*stage) << '\n' << std::flush;
  if (!file && !reported) {
    ReportF("PLAYER_DUMP_DIGESTS: cannot write %s", path.c_str());
    reported = true;
  }
  return static_cast<bool>(file);
}
