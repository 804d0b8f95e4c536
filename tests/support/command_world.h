// A world in which commands run: the test stage with an actor, the hero
// and a target, palettes and database entries for the commands to use, and
// a main window that records the sounds asked of it.
#pragma once

#include <string>
#include <vector>

#include "base/close_request.h"
#include "base/requests.h"
#include "game/commands/item_command_table.h"
#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "model/database/database.h"
#include "model/definitions/command.h"
#include "model/stage/common_palette.h"
#include "platform/window_messages.h"
#include "support/definition_builders.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

// An actor that records its jumps.
class JumpingActor : public TestActor {
 public:
  void Jump(cCommandInstance* pInst) override { m_vJumps.push_back(pInst); }
  std::vector<cCommandInstance*> m_vJumps;
};

// The actor (id 1) at stage cell (5, 5) facing left, the hero (id 3) at
// (2, 5), a target (id 2) of team 2 at (10, 5); a palette of one block,
// character and item (whose command clears the stage); one picture, two
// background layers; a main window that records the sounds asked of it.
struct CommandWorld {
  CommandWorld() {
    actor.SetUp(CharaBuilder().Hp(100), 5, 5, 1);
    actor.m_Chara.m_bFixedFacing = 1;
    hero.SetUp(CharaBuilder().Hero().Hp(100), 2, 5, 3);
    target.SetUp(CharaBuilder(), 10, 5, 2);
    for (TestActor* a : {static_cast<TestActor*>(&actor), &hero, &target}) {
      a->UpdateScreenRect();
      a->m_bAppeared = a->m_bOnScreen = 1;
    }
    stage.m_pHero = &hero;
    stage.m_vTeamCharacter[2].push_back(&target);
    actor.SetTarget(&target);
    g_CommonPalette.m_vBlocks.assign(1, TestStage::Solid());
    g_CommonPalette.m_vCharas.assign(1, CharaBuilder());
    g_CommonPalette.m_vItems.assign(1, cEdItem());
    g_CommonPalette.m_vItems[0].m_vCommand.push_back(CommandBuilder(ICMD_STAGE_CLEAR).AsItemCommand());
    g_Database.m_vPicture.resize(2);
    g_Database.m_vPicture[1].m_strFile = "bmp\\pic\\title.bmp";
    g_LoadedStage.m_vBackgrounds.assign(2, cEdBackground());
    window = platform::CreateWindowHandle(
        [this](platform::HWND, platform::UINT message, platform::WPARAM wParam, platform::LPARAM) {
          if (message == WM_REQ_PLAY_SOUND) sounds.push_back(static_cast<int>(wParam));
          return platform::LRESULT{0};
        });
    g_hWnd = window;
    ResetCloseRequests();
  }
  ~CommandWorld() {
    g_hWnd = nullptr;
    platform::DestroyWindowHandle(window);
    g_CommonPalette.m_vBlocks.clear();
    g_CommonPalette.m_vCharas.clear();
    g_CommonPalette.m_vItems.clear();
  }

  // One sub-step of the command as the first command of a flow of the actor.
  void RunFlowCommand(const cEdCommand& command) {
    actor.BuildFlows({FlowBuilder(TRIGGER_NONE).Command(command)}, 0, false, 0);
    cFlowInstance& flow = actor.m_vFlows[0];
    stage.m_pCurActor = &actor;
    flow.Start();
    flow.Step();
    stage.m_pCurActor = nullptr;
    stage.m_pCurFlow = nullptr;
  }
  int RunItemCommand(const cEdCommand& command) {
    return g_ItemCommandTable[command.m_nKind](&actor, command);
  }

  TestStage stage;
  JumpingActor actor;
  TestActor hero;
  TestActor target;
  platform::HWND window = nullptr;
  std::vector<int> sounds;
};
