// The presentation commands run from a flow on the test stage: each changes
// the actor's looks, the stage's effects and layers, or asks for a sound or
// music, and database entries out of range go through the checked access.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "base/close_request.h"
#include "base/requests.h"
#include "game/commands/effect_position.h"
#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "model/definitions/command.h"
#include "platform/window_messages.h"
#include "support/definition_builders.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

// The test stage with an actor at stage cell (3, 4) and a main window that
// records the sounds asked of it.
struct World {
  World() {
    cEdEffect effect;
    effect.m_nCellWidth = effect.m_nCellHeight = 32;
    effect.m_vFrames.resize(2);
    effect.m_vFrames[0].m_nDuration = 3;
    effect.m_vFrames[1].m_nDuration = 4;
    g_Database.m_vEffect.push_back(effect);  // entry 2
    stage.RebuildDatabaseTables();
    g_LoadedStage.m_vBackgrounds.assign(2, cEdBackground());
    g_LoadedStage.m_vBackgrounds[1].m_bShow = 0;
    actor.SetUp(chara, 3, 4);
    actor.UpdateScreenRect();
    actor.m_bOnScreen = 1;
    stage.m_pCurActor = &actor;
    stage.m_vStageVar.assign(100, 0);
    window = platform::CreateWindowHandle(
        [this](platform::HWND, platform::UINT message, platform::WPARAM wParam, platform::LPARAM) {
          if (message == WM_REQ_PLAY_SOUND) sounds.push_back(static_cast<int>(wParam));
          return platform::LRESULT{0};
        });
    g_hWnd = window;
    ResetCloseRequests();
  }
  ~World() {
    g_hWnd = nullptr;
    platform::DestroyWindowHandle(window);
  }

  // Runs the command for one sub-step as the first command of a flow.
  void Run(const cEdCommand& command) {
    actor.BuildFlows({FlowBuilder(TRIGGER_NONE).Command(command)}, 0, false, 0);
    cFlowInstance& flow = actor.m_vFlows[0];
    flow.m_nSerial = 7;
    flow.Start();
    flow.Step();
  }

  TestStage stage;
  cEdChara chara;
  TestActor actor;
  platform::HWND window = nullptr;
  std::vector<int> sounds;
};

struct PresentationCase {
  const char* name;
  std::function<cEdCommand()> command;
  std::function<void(World&)> prepare;
  std::function<void(World&)> check;
  int closeRequests = 0;  // entries out of range stop the program in order
};

void Nothing(World&) {}

cEdCommand Command(int kind, std::vector<int> params, const std::string& text = {}) {
  CommandBuilder builder(kind);
  for (std::size_t i = 0; i < params.size(); ++i) builder.Param(i, params[i]);
  cEdCommand command = builder;
  command.m_strText = text;
  return command;
}

cEdCommand OnScreenSound(int entry) {
  cEdCommand command = Command(CMD_PLAY_SOUND, {entry});
  command.m_bSoundOnScreen = 1;
  return command;
}

class PresentationCommands : public testing::TestWithParam<PresentationCase> {};

TEST_P(PresentationCommands, RunFromAFlow) {
  const PresentationCase& c = GetParam();
  World world;
  c.prepare(world);
  world.Run(c.command());
  c.check(world);
  EXPECT_EQ(CloseRequestCount(), c.closeRequests);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PresentationCommands,
    testing::Values(
        PresentationCase{"ChangeGraphicTakesTheLowBytes",
                         [] { return Command(CMD_CHANGE_GRAPHIC, {0x104, 0x10005, 0x20003}); }, Nothing,
                         [](World& w) {
                           EXPECT_EQ(w.actor.m_Chara.m_nGraphicKind, 4);
                           EXPECT_EQ(w.actor.m_nGraphicNo, 5);
                           EXPECT_EQ(w.actor.m_Chara.m_nGraphicNo, 5);
                           EXPECT_EQ(w.actor.m_Chara.m_nGraphicSub, 3);
                         }},
        PresentationCase{"ChangeAnimeSet", [] { return Command(CMD_CHANGE_BASE_ANIME_SET, {1}); },
                         [](World& w) {
                           g_Database.m_vAnimeSet.resize(2);
                           w.stage.RebuildDatabaseTables();
                         },
                         [](World& w) { EXPECT_EQ(w.actor.m_Chara.m_nAnimeSet, 1); }},
        PresentationCase{"PlayAnimeGoesInFrontWithTheFlowSerial", [] { return Command(CMD_PLAY_ANIME, {1}); },
                         [](World& w) { w.actor.m_Overlays.emplace_back().nSerial = 3; },
                         [](World& w) {
                           ASSERT_EQ(w.actor.m_Overlays.size(), 2u);
                           EXPECT_EQ(w.actor.m_Overlays.front().nSerial, 7);
                           EXPECT_EQ(w.actor.m_Overlays.front().m_Anime.SequenceCount(), 1u);
                           EXPECT_EQ(w.actor.m_Overlays.back().nSerial, 3);
                         }},
        PresentationCase{"PlayAnimeOutOfRangePlaysEntryZero", [] { return Command(CMD_PLAY_ANIME, {99}); },
                         Nothing, [](World& w) { EXPECT_EQ(w.actor.m_Overlays.size(), 1u); }, 1},
        PresentationCase{"EffectAtOneAndAHalfCentredOnTheActor",
                         [] { return Command(CMD_PLAY_EFFECT, {2, EFFECTPOS_ACTOR_CENTRE, 0, 0, 5, -2, 150, 0}); },
                         Nothing,
                         [](World& w) {
                           ASSERT_EQ(w.stage.m_EffectList.size(), 1u);
                           const cEffectPlay& e = w.stage.m_EffectList.front();
                           EXPECT_EQ(e.nWidth, 48);
                           EXPECT_EQ(e.nHeight, 48);
                           // The actor's box covers map pixels 416..447 by 448..479.
                           EXPECT_EQ(e.dX, 432 - 24 + 5);
                           EXPECT_EQ(e.dY, 464 - 24 - 2);
                           EXPECT_TRUE(w.stage.m_vCalls.empty());
                         }},
        PresentationCase{"EffectWithWaitPausesForItsLength",
                         [] { return Command(CMD_PLAY_EFFECT, {2, EFFECTPOS_STAGE_CELL, 1, 2, 0, 0, 100, 1}); },
                         Nothing,
                         [](World& w) {
                           ASSERT_EQ(w.stage.m_EffectList.size(), 1u);
                           EXPECT_EQ(w.stage.m_EffectList.front().dX, 11 * 32);
                           EXPECT_EQ(w.stage.m_EffectList.front().dY, 12 * 32);
                           EXPECT_EQ(w.stage.m_vCalls, std::vector<std::string>{"RunModalWait"});
                           EXPECT_EQ(w.stage.m_Wait.nKind, 2);
                           EXPECT_EQ(w.stage.m_Wait.bWaitForKey, 0);
                           EXPECT_EQ(w.stage.m_Wait.nFrames, 6 * (3 + 4));
                         }},
        PresentationCase{"EffectOnAScreenCellKeepsTheViewsFraction",
                         [] { return Command(CMD_PLAY_EFFECT, {2, EFFECTPOS_SCREEN_CELL, 1, 2, 3, 0, 100, 0}); },
                         [](World& w) { w.stage.m_ScrollX.m_dPos += 0.5; },
                         [](World& w) {
                           ASSERT_EQ(w.stage.m_EffectList.size(), 1u);
                           const double x = w.stage.m_EffectList.front().dX;
                           EXPECT_DOUBLE_EQ(x, w.stage.m_ScrollX.m_dPos + 32 + 3);
                           EXPECT_DOUBLE_EQ(x - std::floor(x), 0.5);
                         }},
        PresentationCase{"EffectZeroRemovesEveryEffect", [] { return Command(CMD_PLAY_EFFECT, {0}); },
                         [](World& w) { w.stage.m_EffectList.resize(3); },
                         [](World& w) { EXPECT_TRUE(w.stage.m_EffectList.empty()); }},
        PresentationCase{"EffectOfAnUnknownModeSitsAtItsOffsets",
                         [] { return Command(CMD_PLAY_EFFECT, {2, 9, 4, 4, 7, 8, 100, 0}); }, Nothing,
                         [](World& w) {
                           ASSERT_EQ(w.stage.m_EffectList.size(), 1u);
                           EXPECT_EQ(w.stage.m_EffectList.front().dX, 7);
                           EXPECT_EQ(w.stage.m_EffectList.front().dY, 8);
                         }},
        PresentationCase{"NoEffectWhileQuitting", [] { return Command(CMD_PLAY_EFFECT, {0}); },
                         [](World& w) {
                           w.stage.m_bQuit = 1;
                           w.stage.m_EffectList.resize(1);
                         },
                         [](World& w) { EXPECT_EQ(w.stage.m_EffectList.size(), 1u); }},
        PresentationCase{"EffectOutOfRangePlaysEntryZero",
                         [] { return Command(CMD_PLAY_EFFECT, {40, 0, 0, 0, 0, 0, 100, 0}); }, Nothing,
                         [](World& w) {
                           ASSERT_EQ(w.stage.m_EffectList.size(), 1u);
                           EXPECT_EQ(w.stage.m_EffectList.front().nEffect, 0);
                         },
                         1},
        PresentationCase{"CharaEffectStarts", [] { return Command(CMD_PLAY_CHARA_EFFECT, {1, 2, 1}); }, Nothing,
                         [](World& w) {
                           EXPECT_EQ(w.actor.m_CharaEffect.nIndex, 1);
                           EXPECT_EQ(w.actor.m_CharaEffect.nMode, EFFECT_RUN_ROUND_TRIP);
                           EXPECT_EQ(w.actor.m_CharaEffect.bLoop, 1);
                         }},
        PresentationCase{"ScreenEffectStarts", [] { return Command(CMD_PLAY_SCREEN_EFFECT, {1, 1, 0}); }, Nothing,
                         [](World& w) {
                           EXPECT_EQ(w.stage.m_ScreenEffect.nIndex, 1);
                           EXPECT_EQ(w.stage.m_ScreenEffect.bReversed, 1);
                         }},
        PresentationCase{"BackgroundLayerOneShown", [] { return Command(CMD_CHANGE_BACKGROUND, {2, 0}); }, Nothing,
                         [](World&) { EXPECT_EQ(g_LoadedStage.m_vBackgrounds[1].m_bShow, 1); }},
        PresentationCase{"BackgroundToggledTwiceIsRestored", [] { return Command(CMD_CHANGE_BACKGROUND, {1, 2}); },
                         Nothing,
                         [](World& w) {
                           EXPECT_EQ(g_LoadedStage.m_vBackgrounds[0].m_bShow, 0);
                           w.Run(Command(CMD_CHANGE_BACKGROUND, {1, 2}));
                           EXPECT_EQ(g_LoadedStage.m_vBackgrounds[0].m_bShow, 1);
                         }},
        PresentationCase{"BackgroundLayerZeroOrBeyondDoesNothing",
                         [] { return Command(CMD_CHANGE_BACKGROUND, {0, 1}); }, Nothing,
                         [](World& w) {
                           w.Run(Command(CMD_CHANGE_BACKGROUND, {3, 1}));
                           EXPECT_EQ(g_LoadedStage.m_vBackgrounds[0].m_bShow, 1);
                           EXPECT_EQ(g_LoadedStage.m_vBackgrounds[1].m_bShow, 0);
                         }},
        PresentationCase{"SoundOfAnEntry", [] { return Command(CMD_PLAY_SOUND, {0x10003}); }, Nothing,
                         [](World& w) { EXPECT_EQ(w.sounds, std::vector<int>{3 + 16}); }},
        PresentationCase{"SoundEntryZeroSendsNothing", [] { return Command(CMD_PLAY_SOUND, {0}); }, Nothing,
                         [](World& w) { EXPECT_TRUE(w.sounds.empty()); }},
        PresentationCase{"OnScreenSoundOfAnActorInView", [] { return OnScreenSound(2); }, Nothing,
                         [](World& w) { EXPECT_EQ(w.sounds, std::vector<int>{2 + 16}); }},
        PresentationCase{"OnScreenSoundOfAnActorOutOfView", [] { return OnScreenSound(2); },
                         [](World& w) { w.actor.m_bOnScreen = 0; },
                         [](World& w) { EXPECT_TRUE(w.sounds.empty()); }},
        PresentationCase{"MusicGoesToTheStage", [] { return Command(CMD_PLAY_BGM, {4, 1}); }, Nothing,
                         [](World& w) { EXPECT_EQ(w.stage.m_vCalls, std::vector<std::string>{"PlayBgm 4 1"}); }},
        PresentationCase{"RunCodeActsForTheActor", [] { return Command(CMD_RUN_CODE, {}, "S3 = 42"); }, Nothing,
                         [](World& w) { EXPECT_EQ(w.stage.m_vStageVar[3], 42); }}),
    [](const testing::TestParamInfo<PresentationCase>& info) { return std::string(info.param.name); });

}  // namespace
