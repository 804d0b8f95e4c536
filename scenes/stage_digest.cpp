#include "scenes/stage_digest.h"

#include <cstdio>

#include "game/objects/character.h"
#include "game/objects/player.h"
#include "model/user/save_data.h"
#include "scenes/stage_scene.h"
#include "shell/random.h"

namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string Field(const char* name, const std::string& value) { return std::string("\"") + name + "\": " + value; }
std::string Field(const char* name, long long value) { return Field(name, std::to_string(value)); }

std::string ActorJson(const cActor& actor) {
  std::string json = "{" + Field("id", actor.m_nId);
  json += ", " + Field("x", Number(actor.m_dX)) + ", " + Field("y", Number(actor.m_dY));
  json += ", " + Field("vx", Number(actor.m_dVX)) + ", " + Field("vy", Number(actor.m_dVY));
  json += ", " + Field("hp", actor.m_nHp) + ", " + Field("sp", actor.m_nSp);
  json += ", " + Field("facing", actor.m_nFacing) + ", " + Field("appeared", actor.m_bAppeared);
  json += ", " + Field("dying", actor.m_bDying) + ", " + Field("falling", actor.m_bFalling);
  json += ", " + Field("in_air", actor.m_bInAir) + ", " + Field("flying", actor.m_bFlying);
  return json + "}";
}

}  // namespace

std::string StageDigestJson(const cStageScene& scene) {
  std::string json = "{" + Field("state", scene.m_nState) + ", " + Field("step", scene.m_nStep);
  json += ", " + Field("stage_frame", scene.m_nStageFrame) + ", " + Field("sub_steps", scene.m_nSubStepCount);
  json += ", " + Field("hero", scene.m_pHero ? ActorJson(*scene.m_pHero) : std::string("null"));
  std::string characters;
  for (const cCharacter& chara : scene.m_CharacterList) {
    if (!characters.empty()) characters += ", ";
    characters += ActorJson(chara);
  }
  json += ", " + Field("characters", "[" + characters + "]");
  json += ", " + Field("shots", static_cast<long long>(scene.m_ShotList.size()));
  json += ", " + Field("items", static_cast<long long>(scene.m_ItemList.size()));
  std::string vars;
  for (std::size_t i = 0; i < scene.m_vStageVar.size(); ++i) {
    if (scene.m_vStageVar[i] == 0) continue;
    if (!vars.empty()) vars += ", ";
    vars += "[" + std::to_string(i) + ", " + std::to_string(scene.m_vStageVar[i]) + "]";
  }
  json += ", " + Field("stage_vars", "[" + vars + "]");
  json += ", " + Field("scroll_x", Number(scene.m_ScrollX.m_dPos)) + ", " + Field("scroll_y", Number(scene.m_ScrollY.m_dPos));
  json += ", " + Field("score", g_SaveData.m_nScore) + ", " + Field("total", g_SaveData.m_nTotalScore);
  json += ", " + Field("lives", g_SaveData.m_nLives);
  json += ", " + Field("time_left", scene.m_nTimeLeft) + ", " + Field("play_time", scene.m_nPlayTime);
  json += ", " + Field("random", static_cast<long long>(RandomState()));
  return json + "}";
}
