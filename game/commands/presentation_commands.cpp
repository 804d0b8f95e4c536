// The presentation commands: how the acting actor looks, overlay animations,
// effects, character effects, background layers, sounds, music and code.
#include <cstdint>
#include <iterator>

#include "base/checked_access.h"
#include "base/requests.h"
#include "game/commands/command_workers.h"
#include "game/commands/effect_position.h"
#include "game/commands/pause_game.h"
#include "game/core/numeric.h"
#include "game/data/database_tables.h"
#include "game/expressions/expression.h"
#include "game/flows/flow_condition.h"
#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"
#include "model/database/database.h"
#include "model/definitions/command.h"
#include "model/stage/stage.h"
#include "model/stage/stage_loader.h"

namespace {

enum eBackgroundAction { BGACTION_SHOW, BGACTION_HIDE, BGACTION_TOGGLE };

int Param(const cEdCommand& command, int i) { return CheckedAt(command.m_vParam, i); }

}  // namespace

void ExecChangeGraphic(cActor* pActor, const cEdCommand& command) {
  pActor->m_Chara.m_nGraphicKind = static_cast<std::uint8_t>(Param(command, 0));
  const auto graphicNo = static_cast<std::int16_t>(Param(command, 1));
  pActor->m_nGraphicNo = graphicNo;
  pActor->m_Chara.m_nGraphicNo = graphicNo;
  pActor->m_Chara.m_nGraphicSub = static_cast<std::int16_t>(Param(command, 2));
}

void ExecChangeBaseAnimeSet(cActor* pActor, const cEdCommand& command) {
  pActor->SetAnimeSet(static_cast<std::int16_t>(static_cast<std::uint16_t>(Param(command, 0))), false);
}

void ExecPlayAnime(cActor* pActor, const cEdCommand& command) {
  // Flow control stops, pauses and resumes the overlay with the flow that
  // started it; one started outside a flow step (by an item) belongs to none.
  const cFlowInstance* flow = g_pStageScene->m_pCurFlow;
  sOverlayAnime& overlay = pActor->m_Overlays.emplace_front();
  overlay.nSerial = flow ? flow->m_nSerial : -1;
  overlay.m_Anime.Assign({CheckedAt(g_AnimeFrameTables, Param(command, 0))});
  overlay.m_Anime.Play(0, true);
}

void ExecPlayEffect(cActor* pActor, const cEdCommand& command) {
  cStagePlay& stage = *g_pStageScene;
  if (stage.m_bQuit) return;
  const auto effect = static_cast<std::int16_t>(Param(command, 0));
  if (effect == 0) {
    stage.m_EffectList.clear();
    return;
  }
  const cEdEffect& entry = CheckedAt(g_Database.m_vEffect, effect);
  // Out of range, the effect goes on as the entry the checked access gave.
  const auto played = static_cast<std::int16_t>(&entry - g_Database.m_vEffect.data());
  const int w = PercentOf(Param(command, 6), entry.m_nCellWidth);
  const int h = PercentOf(Param(command, 6), entry.m_nCellHeight);
  const sMapPoint at = GetEffectPosition(w, h, *pActor, Param(command, 1), Param(command, 2), Param(command, 3),
                                         Param(command, 4), Param(command, 5));
  const int bWait = Param(command, 7);
  stage.m_EffectList.emplace_back().InitFromCommand(played, at.x, at.y, w, h, bWait);
  if (!bWait) return;
  std::int64_t tenths = 0;
  for (const cEdEffectFrame& frame : entry.m_vFrames) tenths += frame.m_nDuration;
  PauseGame(SetModalWait(2, 0, CapToInt(tenths * 6), 0));
}

void ExecPlayCharaEffect(cActor* pActor, const cEdCommand& command) {
  pActor->m_CharaEffect.Start(static_cast<std::int16_t>(Param(command, 0)), Param(command, 1), Param(command, 2));
}

void ExecPlayScreenEffect(cActor*, const cEdCommand& command) {
  g_pStageScene->m_ScreenEffect.Start(static_cast<std::int16_t>(Param(command, 0)), Param(command, 1),
                                      Param(command, 2));
}

void ExecChangeScreenColor(cActor*, const cEdCommand& command) {
  std::int32_t values[8];
  for (int i = 0; i < 8; ++i) values[i] = Param(command, i);
  g_pStageScene->StartScreenTone(values);
}

void ExecChangeBackground(cActor*, const cEdCommand& command) {
  // Layers are numbered from 1: layer 0 wraps round to no layer.
  const auto layer = static_cast<std::uint32_t>(Param(command, 0)) - 1u;
  std::vector<cEdBackground>& layers = g_LoadedStage.m_vBackgrounds;
  if (layer >= layers.size()) return;
  std::int32_t& shown = layers[layer].m_bShow;
  switch (Param(command, 1)) {
    case BGACTION_SHOW: shown = 1; break;
    case BGACTION_HIDE: shown = 0; break;
    case BGACTION_TOGGLE: shown = shown ? 0 : 1; break;
  }
}

void ExecPlaySound(cActor* pActor, const cEdCommand& command) {
  if (command.m_bSoundOnScreen && !pActor->m_bOnScreen) return;
  RequestDbSound(static_cast<std::int16_t>(Param(command, 0)));
}

void ExecPlayBgm(cActor*, const cEdCommand& command) { g_pStageScene->PlayBgm(Param(command, 0), Param(command, 1)); }

void ExecRunCode(cActor* pActor, const cEdCommand& command) { RunCodeText(command.m_strText, pActor); }
