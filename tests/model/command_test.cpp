// Commands: parameter layouts of old files, the command tables, repairs of
// references and the copies of movement and shot records.
#include <gtest/gtest.h>

#include <optional>

#include "model/definitions/command.h"
#include "model/definitions/item_command.h"
#include "support/byte_builder.h"
#include "support/fake_definition_context.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Params = std::vector<std::int32_t>;

class CommandTest : public testing::Test {
 protected:
  void SetUp() override { g_nDataVersion = DATA_VERSION; }
};

// A record's bytes without the version word of its file image.
Bytes RecordPart(cEdRecord& record) {
  const Bytes image = record.SaveBytes();
  return Bytes(image.begin() + 4, image.end());
}

struct StoredCommand {
  std::uint8_t set = COMMAND_SET_FLOW;
  std::uint8_t kind = 0;
  Params params = {};
  std::optional<Bytes> move = std::nullopt;  // a whole stored record
  std::optional<Bytes> shot = std::nullopt;
  std::int16_t time = 0;
};

Bytes CommandFile(std::uint32_t version, const StoredCommand& c) {
  ByteBuilder b;
  b.U32(version).U32(8).U8(c.set).U8(c.kind).I16(c.time).I16(0).U8(0).I16(0).U8(1).I16(0);
  b.U32(1).Str("");
  b.U32(c.move ? 1 : 0);
  if (c.move) b.Bytes(*c.move);
  b.U32(c.shot ? 1 : 0);
  if (c.shot) b.Bytes(*c.shot);
  b.U32(0).U32(static_cast<std::uint32_t>(c.params.size()));
  for (std::int32_t p : c.params) b.I32(p);
  return b.Get();
}

cEdCommand LoadCommand(std::uint32_t version, const StoredCommand& stored) {
  cEdCommand command;
  std::string error;
  EXPECT_TRUE(command.LoadBytes(CommandFile(version, stored), &error)) << error;
  return command;
}

Params Zeros(std::size_t n, std::initializer_list<std::pair<std::size_t, std::int32_t>> set = {}) {
  Params p(n, 0);
  for (const auto& [i, v] : set) p[i] = v;
  return p;
}

// An item's change-flow command with one flow that holds inner.
cEdCommand ChangeFlowHolding(const cEdCommand& inner) {
  cEdFlow flow = cEdFlow::ListElement();
  flow.m_vCommand = {inner};
  cEdCommand outer;
  outer.m_nSet = COMMAND_SET_ITEM;
  outer.m_nKind = ICMD_CHANGE_FLOW;
  outer.m_vFlow = {flow};
  return outer;
}

TEST_F(CommandTest, ParameterLayoutsOfOldFiles) {
  constexpr std::uint8_t kItem = COMMAND_SET_ITEM;
  struct Case {
    const char* what;
    std::uint32_t version;
    StoredCommand stored;
    Params loaded;
  } cases[] = {
      {"target: 0 inserted at 2", 150, {.kind = CMD_SET_TARGET, .params = {1, 2, 3, 4, 5, 6, 7, 8, 9}},
       {1, 2, 0, 3, 4, 5, 6, 7, 8, 9}},
      {"item target", 150, {.set = kItem, .kind = ICMD_SET_TARGET, .params = {1, 2, 3, 4, 5, 6, 7, 8, 9}},
       {1, 2, 0, 3, 4, 5, 6, 7, 8, 9}},
      {"picture: 1 inserted at 6, last lost", 193,
       {.kind = CMD_SHOW_PICTURE, .params = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113}},
       {100, 101, 102, 103, 104, 105, 1, 106, 107, 108, 109, 0, 0, 0}},
      {"item picture", 193,
       {.set = kItem, .kind = ICMD_SHOW_PICTURE, .params = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113}},
       {100, 101, 102, 103, 104, 105, 1, 106, 107, 108, 109, 0, 0, 0}},
      {"picture 546", 546, {.kind = CMD_SHOW_PICTURE, .params = Zeros(14, {{11, 5}, {12, 6}, {13, 7}})},
       Zeros(14, {{11, 5}})},
      {"message centred", 544, {.kind = CMD_MESSAGE, .params = Zeros(17, {{0, 7}, {11, 9}, {15, 9}})},
       Zeros(17, {{0, 7}, {10, 1}, {14, 1}, {16, 1}})},
      {"message above", 544, {.kind = CMD_MESSAGE, .params = Zeros(17, {{0, 2}, {10, 1}})},
       Zeros(17, {{0, 2}, {14, 1}, {16, 1}})},
      {"message of 3 params", 100, {.kind = CMD_MESSAGE, .params = {0, 4, 5}},
       Zeros(17, {{1, 4}, {2, 5}, {10, 1}, {14, 1}, {16, 1}})},
      {"item message", 544, {.set = kItem, .kind = ICMD_MESSAGE, .params = Zeros(17, {{0, 0}})},
       Zeros(17, {{10, 1}, {14, 1}, {16, 1}})},
      {"message 556 kept", 556, {.kind = CMD_MESSAGE, .params = Zeros(17, {{0, 7}, {11, 3}})},
       Zeros(17, {{0, 7}, {11, 3}})},
      {"music loops", 165, {.kind = CMD_PLAY_BGM, .params = {4}}, {4, 1}},
      {"item music", 165, {.set = kItem, .kind = ICMD_PLAY_BGM, .params = {4}}, {4, 1}},
      {"music 166", 166, {.kind = CMD_PLAY_BGM, .params = {4}}, {4, 0}},
      {"effect mode inserted", 194, {.kind = CMD_PLAY_CHARA_EFFECT, .params = {5, 6, 7}}, {5, 0, 6}},
      {"item screen effect", 194, {.set = kItem, .kind = ICMD_PLAY_SCREEN_EFFECT, .params = {5, 6}}, {5, 0, 6}},
      {"status shifted twice", 167, {.kind = CMD_STATUS_OPERATION, .params = Zeros(18, {{4, 10}})},
       Zeros(18, {{4, 12}})},
      {"system status kept", 167, {.kind = CMD_STATUS_OPERATION, .params = Zeros(18, {{3, 2}, {4, 10}})},
       Zeros(18, {{3, 2}, {4, 10}})},
      {"operand status", 202,
       {.set = kItem, .kind = ICMD_STATUS_OPERATION, .params = Zeros(18, {{0, 1}, {4, 7}, {6, 2}, {12, 1}, {13, 5}})},
       Zeros(18, {{0, 1}, {4, 7}, {6, 2}, {12, 1}, {13, 6}})},
      {"short status operation", 100, {.kind = CMD_STATUS_OPERATION, .params = {0, 0, 0, 0, 11}},
       Zeros(18, {{4, 13}})},
      {"status-2 item inserted", 209, {.kind = CMD_STATUS_OPERATION2, .params = {0, 6, 9}}, {0, 7, 9}},
      {"status-2 of the system", 209, {.kind = CMD_STATUS_OPERATION2, .params = {2, 6, 9}}, {2, 6, 9}},
      {"graphic grows", 218, {.kind = CMD_CHANGE_GRAPHIC, .params = {3, 50, 0}}, {3, 51, 0}},
      {"graphic capped", 218, {.set = kItem, .kind = ICMD_CHANGE_GRAPHIC, .params = {3, 119, 0}}, {3, 119, 0}},
      {"other graphic kind", 218, {.kind = CMD_CHANGE_GRAPHIC, .params = {2, 50, 0}}, {2, 50, 0}},
      {"stage clear", 144, {.kind = CMD_STAGE_CLEAR, .params = {1, 2, 3}}, {1, 2, 3, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadCommand(c.version, c.stored).m_vParam, c.loaded) << c.what;
  }
}

TEST_F(CommandTest, ShotGraphicAndChargeAngleOfOldFiles) {
  cEdShot shot;
  shot.m_nGraphicNo = 50;
  const Bytes shot50 = RecordPart(shot);
  shot.m_nGraphicNo = 119;
  const Bytes shot119 = RecordPart(shot);
  EXPECT_EQ(LoadCommand(219, {.kind = CMD_SHOT, .shot = shot50}).m_pShot->m_nGraphicNo, 51);
  EXPECT_EQ(LoadCommand(219, {.kind = CMD_SHOT, .shot = shot119}).m_pShot->m_nGraphicNo, 119);
  EXPECT_EQ(LoadCommand(220, {.kind = CMD_SHOT, .shot = shot50}).m_pShot->m_nGraphicNo, 50);
  EXPECT_EQ(LoadCommand(219, {.kind = CMD_SWORD, .shot = shot50}).m_pShot->m_nGraphicNo, 50);
  // Item commands have no shot step: kind 11 is the base animation set there.
  EXPECT_EQ(LoadCommand(219, {.set = COMMAND_SET_ITEM, .kind = 11, .shot = shot50}).m_pShot->m_nGraphicNo, 50);

  cEdMove move;
  move.m_nAngle = 30;
  move.m_nAngleCoef = 2;
  move.m_bMirrorAngle = 0;
  const Bytes angled = RecordPart(move);
  const cEdCommand charge = LoadCommand(513, {.kind = CMD_MOVE_CHARGE, .move = angled});
  EXPECT_EQ(charge.m_pMove->m_nAngle, 0);
  EXPECT_EQ(charge.m_pMove->m_nAngleCoef, 0);
  EXPECT_EQ(charge.m_pMove->m_bMirrorAngle, 1);
  EXPECT_EQ(LoadCommand(514, {.kind = CMD_MOVE_CHARGE, .move = angled}).m_pMove->m_nAngle, 30);
  EXPECT_EQ(LoadCommand(513, {.kind = CMD_MOVE_STRAIGHT, .move = angled}).m_pMove->m_nAngle, 30);
  EXPECT_EQ(LoadCommand(513, {.set = COMMAND_SET_ITEM, .kind = 5, .move = angled}).m_pMove->m_nAngle, 30);
}

TEST_F(CommandTest, ParametersFitTheCommandTable) {
  struct Case {
    std::uint8_t set, kind;
    std::size_t count;
  } cases[] = {
      {COMMAND_SET_FLOW, CMD_MESSAGE, 17},          {COMMAND_SET_FLOW, CMD_MOVE_STRAIGHT, 0},
      {COMMAND_SET_FLOW, CMD_STATUS_OPERATION, 18}, {COMMAND_SET_FLOW, CMD_RUN_CODE, 0},
      {COMMAND_SET_ITEM, ICMD_CHANGE_FLOW, 2},      {COMMAND_SET_ITEM, ICMD_MESSAGE, 17},
      // Kinds outside their tables keep no parameters.
      {COMMAND_SET_FLOW, FLOW_COMMAND_COUNT, 0},    {COMMAND_SET_ITEM, ITEM_COMMAND_COUNT, 0},
      {COMMAND_SET_FLOW, 255, 0},
  };
  for (const Case& c : cases) {
    const cEdCommand command = LoadCommand(DATA_VERSION, {.set = c.set, .kind = c.kind, .params = {3, 4, 5}});
    EXPECT_EQ(command.m_vParam.size(), c.count) << int{c.set} << ":" << int{c.kind};
  }
  EXPECT_EQ(g_FlowCommandInfo.size(), 37u);
  EXPECT_EQ(g_ItemCommandInfo.size(), 22u);
}

class CommandValidationTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    context.database = {{eDatabaseList::Anime, 3},     {eDatabaseList::AnimeSet, 2},   {eDatabaseList::Effect, 4},
                        {eDatabaseList::CharaEffect, 1}, {eDatabaseList::ScrEffect, 5}, {eDatabaseList::Picture, 6},
                        {eDatabaseList::Sound, 8},     {eDatabaseList::Bgm, 0},        {eDatabaseList::SwordType, 2}};
    context.swordFrames = {{5000, 6000}, {3, 4}};
    context.palettes = {{{ePaletteSource::Common, ePaletteList::Item}, 5},
                        {{ePaletteSource::Stage, ePaletteList::Item}, 1},
                        {{ePaletteSource::Common, ePaletteList::Block}, 10},
                        {{ePaletteSource::Stage, ePaletteList::Chara}, 3}};
  }
  FakeDefinitionContext context;
};

TEST_F(CommandValidationTest, DatabaseReferencesAreRepaired) {
  struct Case {
    const char* what;
    std::uint8_t set, kind;
    std::int32_t stored, repaired;
  } cases[] = {
      {"sound beyond the list", COMMAND_SET_FLOW, CMD_PLAY_SOUND, 8, 1},
      {"sound inside", COMMAND_SET_FLOW, CMD_PLAY_SOUND, 7, 7},
      {"negative picture", COMMAND_SET_FLOW, CMD_SHOW_PICTURE, -1, 1},
      {"effect", COMMAND_SET_FLOW, CMD_PLAY_EFFECT, 4, 1},
      {"animation", COMMAND_SET_FLOW, CMD_PLAY_ANIME, 3, 1},
      {"screen effect", COMMAND_SET_FLOW, CMD_PLAY_SCREEN_EFFECT, 9, 1},
      // Lists without an entry 1 fall back to entry 0.
      {"only the none entry", COMMAND_SET_FLOW, CMD_PLAY_CHARA_EFFECT, 2, 0},
      {"empty music list", COMMAND_SET_FLOW, CMD_PLAY_BGM, 1, 0},
      {"base animation set", COMMAND_SET_FLOW, CMD_CHANGE_BASE_ANIME_SET, 2, 0},
      {"item base animation set", COMMAND_SET_ITEM, ICMD_CHANGE_BASE_ANIME_SET, 5, 0},
      {"item sound", COMMAND_SET_ITEM, ICMD_PLAY_SOUND, 8, 1},
      {"item picture", COMMAND_SET_ITEM, ICMD_SHOW_PICTURE, 6, 1},
      {"flow kind 19 is a message", COMMAND_SET_FLOW, CMD_MESSAGE, 100, 100},
      {"not a play command", COMMAND_SET_FLOW, CMD_TURN, 50, 50},
  };
  for (const Case& c : cases) {
    cEdCommand command;
    command.m_nSet = c.set;
    command.m_nKind = c.kind;
    command.m_vParam = {c.stored};
    command.Validate();
    ASSERT_FALSE(command.m_vParam.empty()) << c.what;
    EXPECT_EQ(command.m_vParam[0], c.repaired) << c.what;
  }
}

TEST_F(CommandValidationTest, AnimationAndSoundOfEveryCommand) {
  cEdCommand command;
  command.m_nAnime = 3;
  command.m_nSound = -2;
  command.Validate();
  EXPECT_EQ(command.m_nAnime, 0);
  EXPECT_EQ(command.m_nSound, 0);
  command.m_nAnime = 2;
  command.m_nSound = 7;
  command.Validate();
  EXPECT_EQ(command.m_nAnime, 2);
  EXPECT_EQ(command.m_nSound, 7);
}

TEST_F(CommandValidationTest, SwordTimeIsTheSumOfItsFrames) {
  struct Case {
    int swordType;
    std::vector<std::int32_t> firstTypeFrames;
    int type, time;
  } cases[] = {
      {1, {5000, 6000}, 1, 7},
      {0, {5000, 6000}, 0, 9999},
      {7, {20, 30}, 0, 50},  // an unknown sword type becomes type 0
      // Sums that do not fit 32 bits still end at the cap.
      {0, {2'000'000'000, 2'000'000'000, 2'000'000'000}, 0, 9999},
  };
  for (const Case& c : cases) {
    context.swordFrames[0] = c.firstTypeFrames;
    cEdCommand command;
    command.m_nKind = CMD_SWORD;
    command.m_pShot = cEdShot::Create();
    command.m_pShot->m_nMoveKind = static_cast<std::uint8_t>(c.swordType);
    command.Validate();
    EXPECT_EQ(command.m_pShot->m_nMoveKind, c.type) << c.swordType;
    EXPECT_EQ(command.m_nTime, c.time) << c.swordType;
  }
  cEdCommand withoutShot;
  withoutShot.m_nKind = CMD_SWORD;
  withoutShot.m_nTime = 12;
  withoutShot.Validate();
  EXPECT_EQ(withoutShot.m_nTime, 12);
}

TEST_F(CommandValidationTest, PaletteReferencesAreRepaired) {
  struct Case {
    const char* what;
    std::uint8_t set, kind;
    int palette, index;
    int loadedPalette, loadedIndex;
  } cases[] = {
      // Shot item: palette 1 common, 2 stage; both cleared when out of range.
      {"shot item beyond", COMMAND_SET_FLOW, CMD_SHOT, 1, 5, 0, 0},
      {"shot item inside", COMMAND_SET_FLOW, CMD_SWORD, 1, 4, 1, 4},
      {"shot item of the stage", COMMAND_SET_FLOW, CMD_SHOT, 2, 1, 0, 0},
      // Summons: palette 0 common, 1 stage; the index falls back to 1, or 0.
      {"summoned block", COMMAND_SET_FLOW, CMD_SUMMON_BLOCK, 0, 10, 0, 1},
      {"summoned character", COMMAND_SET_FLOW, CMD_SUMMON_CHARACTER, 1, -4, 1, 1},
      {"summoned stage item", COMMAND_SET_FLOW, CMD_SUMMON_ITEM, 1, 3, 1, 0},
      {"other summon palette", COMMAND_SET_FLOW, CMD_SUMMON_BLOCK, 2, 99, 2, 99},
      {"unknown palette list", COMMAND_SET_FLOW, CMD_SUMMON_CHARACTER, 0, 99, 0, 99},
      // Get item: p[0] palette 0 common, 1 stage, p[1] index.
      {"got item", COMMAND_SET_FLOW, CMD_GET_ITEM, 0, 5, 0, 1},
      {"got stage item", COMMAND_SET_ITEM, ICMD_GET_ITEM, 1, 1, 1, 0},
      {"got item inside", COMMAND_SET_ITEM, ICMD_GET_ITEM, 0, 4, 0, 4},
  };
  for (const Case& c : cases) {
    cEdCommand command;
    command.m_nSet = c.set;
    command.m_nKind = c.kind;
    int palette = 0, index = 0;
    if (c.kind == CMD_GET_ITEM || (c.set == COMMAND_SET_ITEM && c.kind == ICMD_GET_ITEM)) {
      command.m_vParam = {c.palette, c.index};
      command.ValidatePaletteRefs();
      palette = command.m_vParam[0];
      index = command.m_vParam[1];
    } else {
      command.m_pShot = cEdShot::Create();
      const bool summon = c.kind >= CMD_SUMMON_BLOCK;
      (summon ? command.m_pShot->m_nSummonPalette : command.m_pShot->m_nItemKind) = static_cast<std::uint8_t>(c.palette);
      (summon ? command.m_pShot->m_nSummonIndex : command.m_pShot->m_nItemIndex) = static_cast<std::int16_t>(c.index);
      command.ValidatePaletteRefs();
      palette = summon ? command.m_pShot->m_nSummonPalette : command.m_pShot->m_nItemKind;
      index = summon ? command.m_pShot->m_nSummonIndex : command.m_pShot->m_nItemIndex;
    }
    EXPECT_EQ(palette, c.loadedPalette) << c.what;
    EXPECT_EQ(index, c.loadedIndex) << c.what;
  }
}

TEST_F(CommandValidationTest, CommandsOfFlowsInCommandsAreValidated) {
  cEdCommand inner;
  inner.m_nKind = CMD_PLAY_SOUND;
  inner.m_vParam = {50};
  inner.m_nAnime = 9;
  cEdCommand outer = ChangeFlowHolding(inner);
  outer.Validate();
  EXPECT_EQ(outer.m_vFlow[0].m_vCommand[0].m_vParam, Params{1});
  EXPECT_EQ(outer.m_vFlow[0].m_vCommand[0].m_nAnime, 0);
}

TEST_F(CommandTest, MissingRecordsAreStoredAsAZeroFlag) {
  cEdCommand command;
  command.m_nKind = CMD_WAIT;
  const Bytes bytes = command.SaveBytes();
  EXPECT_EQ(bytes, CommandFile(DATA_VERSION, {.kind = CMD_WAIT}));
  cEdCommand loaded;
  NewMove(loaded.m_pMove);
  ASSERT_TRUE(loaded.LoadBytes(bytes));
  EXPECT_FALSE(loaded.m_pMove);
  EXPECT_FALSE(loaded.m_pShot);
}

TEST_F(CommandTest, CopiesShareNoParameterRecord) {
  cEdCommand source;
  source.m_nKind = CMD_SHOT;
  NewMove(source.m_pMove);
  source.m_pMove->m_nSpeed = 33;
  source.m_pShot = cEdShot::Create();
  source.m_pShot->m_nPower = 5;
  source.m_vParam = {1, 2};
  source.m_vFlow = {cEdFlow::ListElement()};
  source.m_vFlow[0].m_vCommand = {source};

  cEdCommand assigned;
  assigned = source;
  const cEdCommand constructed(source);
  for (const cEdCommand* copy : {static_cast<const cEdCommand*>(&assigned), &constructed}) {
    ASSERT_TRUE(copy->m_pMove && copy->m_pShot);
    EXPECT_NE(copy->m_pMove.get(), source.m_pMove.get());
    EXPECT_NE(copy->m_pShot.get(), source.m_pShot.get());
    EXPECT_NE(copy->m_vFlow[0].m_vCommand[0].m_pShot.get(), source.m_vFlow[0].m_vCommand[0].m_pShot.get());
    EXPECT_EQ(copy->m_pMove->m_nSpeed, 33);
    EXPECT_EQ(copy->m_pShot->m_nPower, 5);
  }
  assigned.m_pMove->m_nSpeed = 1;
  assigned.m_pShot->m_nPower = 1;
  EXPECT_EQ(source.m_pMove->m_nSpeed, 33);
  EXPECT_EQ(source.m_pShot->m_nPower, 5);

  cEdCommand empty;
  assigned = empty;
  EXPECT_FALSE(assigned.m_pMove);
  EXPECT_FALSE(assigned.m_pShot);
}

TEST_F(CommandTest, DamagedCommandsAreRefused) {
  const Bytes whole = CommandFile(DATA_VERSION, {.kind = CMD_JUMP, .params = {1, 2, 3, 4, 5}});
  for (std::size_t size = 0; size < whole.size(); ++size) {
    cEdCommand command;
    EXPECT_FALSE(command.LoadBytes(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))))
        << size;
  }
  ByteBuilder huge;
  huge.U32(DATA_VERSION).U32(8).U8(0).U8(CMD_JUMP).I16(0).I16(0).U8(0).I16(0).U8(1).I16(0).U32(0);
  huge.U32(0).U32(0).U32(0).U32(0x40000001);
  cEdCommand command;
  std::string error;
  EXPECT_FALSE(command.LoadBytes(huge.Get(), &error));
  EXPECT_NE(error.find("count"), std::string::npos) << error;
}

// Change-flow commands each holding the next in a flow, depth commands in all.
cEdCommand NestedCommands(int depth) {
  cEdCommand command;
  for (int level = 1; level < depth; ++level) command = ChangeFlowHolding(command);
  return command;
}

TEST_F(CommandTest, CommandsNestedTooDeeplyAreRefused) {
  cEdCommand command;
  ASSERT_TRUE(command.LoadBytes(NestedCommands(8).SaveBytes()));
  ASSERT_EQ(command.m_vFlow.size(), 1u);

  // Deeper nesting only comes from damaged files, which would otherwise run
  // the reader out of stack.
  const Bytes before = command.SaveBytes();
  std::string error;
  EXPECT_FALSE(command.LoadBytes(NestedCommands(9).SaveBytes(), &error));
  EXPECT_NE(error.find("nested"), std::string::npos) << error;
  EXPECT_EQ(command.SaveBytes(), before);

  // The limit counts the commands being read, not those read before.
  cEdFlow flows;
  flows.m_vCommand.assign(3, NestedCommands(8));
  cEdFlow loaded;
  EXPECT_TRUE(loaded.LoadBytes(flows.SaveBytes(), &error)) << error;
}

}  // namespace
