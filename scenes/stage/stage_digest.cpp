#include "scenes/stage/stage_digest.h"

#include <cstdio>

#include "base/random.h"
#include "game/objects/character.h"
#include "game/objects/player.h"
#include "model/user/save_data.h"
#include "scenes/stage/stage_scene.h"

namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// Appends `"name": value` to the JSON object being written.
void Add(std::string& json, const char* name, const std::string& value) {
  if (json.size() > 1) json += ", ";
  json += '"';
  json += name;
  json += "\": ";
  json += value;
}
void Add(std::string& json, const char* name, long long value) { Add(json, name, std::to_string(value)); }

std::string ActorJson(const cActor& actor) {
  std::string json = "{";
  Add(json, "id", actor.m_nId);
  Add(json, "x", Number(actor.m_dX));
  Add(json, "y", Number(actor.m_dY));
  Add(json, "vx", Number(actor.m_dVX));
  Add(json, "vy", Number(actor.m_dVY));
  Add(json, "hp", actor.m_nHp);
  Add(json, "sp", actor.m_nSp);
  Add(json, "facing", actor.m_nFacing);
  Add(json, "appeared", actor.m_bAppeared);
  Add(json, "dying", actor.m_bDying);
  Add(json, "falling", actor.m_bFalling);
  Add(json, "in_air", actor.m_bInAir);
  Add(json, "flying", actor.m_bFlying);
  return json + '}';
}

}  // namespace

std::string StageDigestJson(const cStageScene& scene) {
  std::string json = "{";
  Add(json, "state", scene.m_nState);
  Add(json, "step", scene.m_nStep);
  Add(json, "stage_frame", scene.m_nStageFrame);
  Add(json, "sub_steps", scene.m_nSubStepCount);
  Add(json, "hero", scene.m_pHero ? ActorJson(*scene.m_pHero) : std::string("null"));
  std::string characters = "[";
  for (const cCharacter& chara : scene.m_CharacterList) {
    if (characters.size() > 1) characters += ", ";
    characters += ActorJson(chara);
  }
  Add(json, "characters", characters + ']');
  Add(json, "shots", static_cast<long long>(scene.m_ShotList.size()));
  Add(json, "items", static_cast<long long>(scene.m_ItemList.size()));
  std::string vars = "[";
  for (std::size_t i = 0; i < scene.m_vStageVar.size(); ++i) {
    if (scene.m_vStageVar[i] == 0) continue;
    if (vars.size() > 1) vars += ", ";
    vars += '[';
    vars += std::to_string(i);
    vars += ", ";
    vars += std::to_string(scene.m_vStageVar[i]);
    vars += ']';
  }
  Add(json, "stage_vars", vars + ']');
  Add(json, "scroll_x", Number(scene.m_ScrollX.m_dPos));
  Add(json, "scroll_y", Number(scene.m_ScrollY.m_dPos));
  Add(json, "score", g_SaveData.m_nScore);
  Add(json, "total", g_SaveData.m_nTotalScore);
  Add(json, "lives", g_SaveData.m_nLives);
  Add(json, "time_left", scene.m_nTimeLeft);
  Add(json, "play_time", scene.m_nPlayTime);
  Add(json, "random", static_cast<long long>(RandomState()));
  return json + '}';
}
