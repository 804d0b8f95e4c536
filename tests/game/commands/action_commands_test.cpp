// The action commands on the test stage: launching once per run, swords,
// messages kept by ID and holding the game, targets, the second status
// operation, items got by command, and pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/close_request.h"
#include "game/commands/command_workers.h"
#include "game/commands/flow_command_table.h"
#include "game/commands/item_command_table.h"
#include "model/definitions/condition.h"
#include "support/command_world.h"
#include "support/scoped_message_boxes.h"

namespace {

CommandBuilder Message(const std::string& text, int nId = 0) {
  CommandBuilder command(CMD_MESSAGE);
  command.Text(text).Param(1, 0);
  if (nId) command.Param(12, 1).Param(13, nId);
  return command;
}

TEST(ActionCommands, AShotCommandFiresOnceOnItsFirstSubStep) {
  CommandWorld w;
  CommandBuilder shot(CMD_SHOT);
  shot.Time(30).Shot().m_nShotCount = 1;
  w.actor.BuildFlows({FlowBuilder(TRIGGER_NONE).Command(shot)}, 0, false, 0);
  w.stage.m_pCurActor = &w.actor;
  cFlowInstance& flow = w.actor.m_vFlows[0];
  flow.Start();
  for (int i = 0; i < 5; ++i) flow.Step();
  EXPECT_EQ(w.stage.m_ShotList.size(), 1u);
}

TEST(ActionCommands, ASwordTypeWithoutFramesLaunchesNothing) {
  CommandWorld w;
  g_Database.m_vSwordType.assign(1, cEdSwordType());
  g_Database.m_vSwordType[0].m_vFrames.clear();
  CommandBuilder sword(CMD_SWORD);
  sword.Shot();
  w.RunFlowCommand(sword);
  EXPECT_TRUE(w.stage.m_ShotList.empty());
}

TEST(ActionCommands, MessagesWithAnIdAreRedrawnReplacedInPlaceOrClosed) {
  CommandWorld w;
  ExecMessage(&w.actor, Message("first", 0), 0);
  ExecMessage(&w.actor, Message("abc", 5), 0);
  ExecMessage(&w.actor, Message("last", 0), 0);
  ASSERT_EQ(w.stage.m_MessageList.size(), 3u);
  const cMessageWindow* middle = &*std::next(w.stage.m_MessageList.begin());
  const std::size_t surfaces = w.stage.m_Text.m_vCreated.size();

  // The same size: set up again in place, on its surface.
  ExecMessage(&w.actor, Message("xyz", 5), 0);
  EXPECT_EQ(&*std::next(w.stage.m_MessageList.begin()), middle);
  EXPECT_EQ(middle->m_strText, "xyz");
  EXPECT_EQ(w.stage.m_Text.m_vCreated.size(), surfaces);

  // Another size: a new window at the same place in the list.
  ExecMessage(&w.actor, Message("longer text", 5), 0);
  ASSERT_EQ(w.stage.m_MessageList.size(), 3u);
  EXPECT_EQ(std::next(w.stage.m_MessageList.begin())->m_strText, "longer text");
  EXPECT_EQ(w.stage.m_MessageList.back().m_strText, "last");
  EXPECT_EQ(w.stage.m_Text.m_vReleased.size(), 1u);

  // Closing by ID; closing a missing ID does nothing.
  CommandBuilder close = Message("", 5);
  close.Param(15, 1);
  ExecMessage(&w.actor, close, 0);
  EXPECT_EQ(w.stage.m_MessageList.size(), 2u);
  ExecMessage(&w.actor, close, 0);
  EXPECT_EQ(w.stage.m_MessageList.size(), 2u);

  // Nothing on a quitting stage.
  w.stage.m_bQuit = 1;
  ExecMessage(&w.actor, Message("late"), 0);
  EXPECT_EQ(w.stage.m_MessageList.size(), 2u);
}

TEST(ActionCommands, APausingMessageHoldsTheGameThenGoes) {
  struct Case {
    int nDisplayMode, bFollows;
    int bWaitKey, nFrames, nDelay;
    std::vector<int> sounds;  // system sounds asked for
  };
  const Case cases[] = {
      {0, 0, 1, 0, 10, {11}},  // a key wait, counted after 10 frames, with the message sound
      {0, 1, 1, 0, 0, {}},     // following on: at once, quietly
      {2, 0, 0, 30, 0, {}},    // for 5 tenths of a second
      {1, 0, 1, 0, 10, {11}},  // until the stage ends, yet holding: a key ends the hold
  };
  for (const Case& c : cases) {
    CommandWorld w;
    CommandBuilder message = Message("wait");
    message.Param(6, c.nDisplayMode).Param(7, 5).Param(8, 1);
    ExecMessage(&w.actor, message, c.bFollows);
    EXPECT_EQ(w.stage.m_vCalls, std::vector<std::string>{"RunModalWait"});
    EXPECT_EQ(w.stage.m_Wait.bWaitForKey, c.bWaitKey) << c.nDisplayMode;
    EXPECT_EQ(w.stage.m_Wait.nFrames, c.nFrames) << c.nDisplayMode;
    EXPECT_EQ(w.stage.m_Wait.nDelay, c.nDelay) << c.nDisplayMode << c.bFollows;
    EXPECT_EQ(w.sounds.size(), c.sounds.size()) << c.nDisplayMode << c.bFollows;
    EXPECT_TRUE(w.stage.m_MessageList.empty());
  }
}

TEST(ActionCommands, SetTargetSearchesTeamsWithItsFilters) {
  CommandWorld w;
  CommandBuilder nearest(CMD_SET_TARGET);
  nearest.Param(0, 2).Param(1, 4).Param(3, 1);
  ExecSetTarget(&w.actor, nearest);
  EXPECT_EQ(w.actor.m_pTarget, nullptr);  // nobody in team 4
  EXPECT_TRUE(w.target.m_vTargetedBy.empty());

  TestActor near;
  near.SetUp(CharaBuilder(), 7, 5, 4);
  near.UpdateScreenRect();
  near.m_bAppeared = 1;
  w.stage.m_vTeamCharacter[6].push_back(&near);
  nearest.Param(2, 1);  // all teams: the nearest of the nearest
  ExecSetTarget(&w.actor, nearest);
  EXPECT_EQ(w.actor.m_pTarget, &near);
  EXPECT_EQ(near.m_vTargetedBy, std::vector<cActor*>{&w.actor});

  CommandBuilder first(CMD_SET_TARGET);
  first.Param(0, 3).Param(2, 1);
  ExecSetTarget(&w.actor, first);
  EXPECT_EQ(w.actor.m_pTarget, &w.target);  // team 2 comes before team 6
  EXPECT_TRUE(near.m_vTargetedBy.empty());
}

TEST(ActionCommands, VanishRemovesACharacterAndEndsTheHero) {
  CommandWorld w;
  CommandBuilder vanish(CMD_STATUS_OPERATION2);
  vanish.Param(0, 1).Param(1, STATUS2_VANISH);
  ExecStatusOperation2(&w.actor, vanish);
  EXPECT_EQ(w.target.m_bVanish, 1);
  EXPECT_EQ(w.stage.m_bCheckDeaths, 1);
  vanish.Param(0, 0);
  ExecStatusOperation2(&w.hero, vanish);
  EXPECT_EQ(w.hero.m_nHp, 0);

  CommandBuilder scroll(CMD_STATUS_OPERATION2);
  scroll.Param(0, 2).Param(1, 0).Param(2, 1);
  g_LoadedStage.m_nAutoScrollSpeedX = 10;
  ExecStatusOperation2(&w.actor, scroll);
  EXPECT_EQ(g_LoadedStage.m_bAutoScrollX, 1);
  EXPECT_EQ(w.stage.m_ScrollX.m_bAuto, 1);

  CommandBuilder size(CMD_STATUS_OPERATION2);
  size.Param(1, STATUS2_SCALE).Param(2, 2);
  ExecStatusOperation2(&w.actor, size);
  EXPECT_EQ(w.actor.m_Chara.m_nScale, 2);
  EXPECT_EQ(w.actor.m_nWidth, 64);
}

TEST(ActionCommands, GetItemRunsItsCommandsAndKeepsAPendingClear) {
  CommandWorld w;
  g_CommonPalette.m_vItems.resize(2);  // item 1 has no commands
  CommandBuilder get(CMD_GET_ITEM);
  get.Param(1, 1);
  w.stage.m_nEndRequest = 1;
  EXPECT_EQ(ExecGetItem(&w.actor, get), 0);
  EXPECT_EQ(w.stage.m_nEndRequest, 1);
  get.Param(0, 3);  // no such palette
  EXPECT_EQ(ExecGetItem(&w.actor, get), 0);
}

TEST(ActionCommands, ItemCommandsStopAtAClearAndOnlyTheFirstMessageOpens) {
  CommandWorld w;
  std::vector<cEdCommand> commands;
  for (int kind : {ICMD_MESSAGE, ICMD_MESSAGE, ICMD_STAGE_CLEAR, ICMD_PLAY_SOUND}) {
    CommandBuilder command(kind);
    command.AsItemCommand().Text("m");
    if (kind == ICMD_PLAY_SOUND) command.Param(0, 3);
    commands.push_back(command);
  }
  EXPECT_EQ(RunItemCommands(w.hero, commands), 1);
  ASSERT_EQ(w.stage.m_MessageList.size(), 2u);
  // Display mode 0 opens with a growing box unless it follows on.
  EXPECT_EQ(w.stage.m_MessageList.front().m_bOpening, 1);
  EXPECT_EQ(w.stage.m_MessageList.back().m_bOpening, 0);
  EXPECT_TRUE(w.sounds.empty());

  // The hero's HP falling below 1 ends the list with 2.
  CommandBuilder hurt(ICMD_STATUS_OPERATION);
  hurt.AsItemCommand().Param(3, 0).Param(4, CHARA_STATUS_HP).Param(5, 0).Param(7, 0);
  EXPECT_EQ(RunItemCommands(w.hero, {hurt}), 2);
}

TEST(ActionCommands, PicturesAreReplacedInPlaceRemovedOrStopTheProgram) {
  CommandWorld w;
  ScopedMessageBoxes boxes;
  const auto show = [&w](int nPicture, int nId) {
    CommandBuilder picture(CMD_SHOW_PICTURE);
    picture.Param(0, nPicture).Param(7, 100);
    if (nId) picture.Param(12, 1).Param(13, nId);
    ExecShowPicture(&w.actor, picture);
  };
  show(0, 9);  // picture 0 with an ID that is not shown: nothing
  EXPECT_TRUE(w.stage.m_PictureList.empty());
  show(1, 1);
  show(1, 2);
  show(1, 3);
  g_Database.m_vPicture.push_back(g_Database.m_vPicture[1]);
  g_Database.m_vPicture[2].m_strFile = "bmp\\pic\\other.bmp";
  show(2, 2);  // replaces the second in its place
  ASSERT_EQ(w.stage.m_PictureList.size(), 3u);
  EXPECT_EQ(std::next(w.stage.m_PictureList.begin())->m_nPicture, 2);
  EXPECT_EQ(w.stage.m_vPictureSurfaces[1], "bmp\\pic\\other.bmp");
  show(0, 1);  // removes the one with ID 1
  EXPECT_EQ(w.stage.m_PictureList.size(), 2u);
  EXPECT_EQ(w.stage.m_vPictureSurfaces.size(), 2u);
  show(0, 0);  // removes every picture
  EXPECT_TRUE(w.stage.m_PictureList.empty());
  EXPECT_TRUE(w.stage.m_vPictureSurfaces.empty());

  w.stage.m_strMissingPicture = "bmp\\pic\\other.bmp";
  show(2, 0);
  EXPECT_TRUE(w.stage.m_PictureList.empty());
  EXPECT_EQ(CloseRequestCount(), 1);
  EXPECT_EQ(boxes.Shown().size(), 1u);
}

}  // namespace
