// Shot and movement parameter records: old files, repairs, copies and the
// helpers that launches and moves read.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "model/definitions/move.h"
#include "model/definitions/shot.h"
#include "support/byte_builder.h"
#include "support/fake_definition_context.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Values = std::map<std::string, std::int64_t>;

// The stored layout, written out independently of the records' own tables:
// name, width in bytes (8: double), the first version that stores it, and
// whether it is a further element of the entry before it (a "T x 3" row).
struct StoredField {
  const char* name;
  int width;
  int since;
  bool sameEntry = false;
};

const StoredField kShotLayout[] = {
    {"count", 1, 0},        {"pattern", 1, 0},     {"pp0", 2, 0},          {"pp1", 2, 0, true},
    {"pp2", 2, 0, true},          {"direction", 1, 0},   {"aim", 1, 0},          {"angle", 2, 0},
    {"angleStep", 2, 0},    {"mirrorAngle", 1, 158}, {"angleRandom", 2, 0}, {"rotate", 1, 0},
    {"volleys", 1, 0},      {"offX", 2, 0},        {"offXStep", 2, 0},     {"offY", 2, 0},
    {"offYStep", 2, 0},     {"mirrorOffX", 1, 0},  {"mirrorOffY", 1, 0},   {"graphic", 2, 0},
    {"layer", 1, 0},        {"hidden", 1, 0},      {"shooterTeam", 1, 0},  {"team", 1, 0},
    {"byte1", 1, 0},        {"size", 1, 0},        {"byte2", 1, 0},        {"moveKind", 1, 0},
    {"mp0", 2, 0},          {"mp1", 2, 0, true},         {"mp2", 2, 0, true},          {"scrollSync", 1, 211},
    {"speed", 2, 0},        {"speedStep", 2, 0},   {"accelOn", 1, 213},    {"accel", 2, 213},
    {"accelStep", 2, 213},  {"range", 2, 0},       {"rangeOn", 1, 0},      {"rangeStep", 2, 0},
    {"stopAtRange", 1, 0},  {"lifeOn", 1, 0},      {"life", 2, 0},         {"lifeStep", 2, 0},
    {"through", 1, 0},      {"pierce", 1, 0},      {"hitShots", 1, 0},     {"strength", 1, 0},
    {"power", 4, 0},        {"short", 2, 0},       {"impact", 1, 0},       {"hitEffect", 2, 0},
    {"itemKind", 1, 0},     {"itemIndex", 2, 0},   {"blockMode", 1, 0},    {"protectPlayer", 1, 0},
    {"protectCharas", 1, 197},      {"summonPalette", 1, 0}, {"summonIndex", 2, 0}, {"summonTeam", 1, 0},
    {"noScore", 1, 0},        {"summonReverse", 1, 0},
};

const StoredField kMoveLayout[] = {
    {"positionMode", 1, 0}, {"direction", 1, 0},  {"angle", 2, 0},       {"angleCoef", 2, 0},
    {"mirrorAngle", 1, 158}, {"useX", 1, 0},      {"useY", 1, 0},        {"cellX", 2, 0},
    {"cellY", 2, 0},        {"dotX", 2, 0},       {"dotY", 2, 0},        {"coordKind", 1, 0},
    {"endOnArrival", 1, 0}, {"verticalOnly", 1, 0}, {"horizontalOnly", 1, 0}, {"mirrorX", 1, 0},
    {"mirrorY", 1, 0},      {"reverseOnTurn", 1, 0}, {"snap", 1, 0},     {"keepFacing", 1, 162},
    {"timing", 1, 0},       {"speed", 2, 0},      {"speedCoef", 2, 0},   {"distance", 2, 0},
    {"distanceCoef", 2, 0}, {"distanceUnit", 1, 159}, {"radius", 2, 0},  {"radiusCoef", 2, 0},
    {"inertia", 1, 0},      {"maxSpeed", 2, 0},   {"turnFactor", 8, 0},  {"noWalkAnime", 1, 162},
};

// A record of the given layout as a file of that version: every field 0
// unless values names it, no strings.
template <std::size_t N>
Bytes RecordFile(const StoredField (&layout)[N], std::uint32_t version, const Values& values) {
  ByteBuilder fields;
  std::uint32_t count = 0;
  for (const StoredField& field : layout) {
    if (static_cast<int>(version) < field.since) continue;
    const auto it = values.find(field.name);
    const std::int64_t value = it == values.end() ? 0 : it->second;
    switch (field.width) {
      case 1: fields.U8(static_cast<std::uint8_t>(value)); break;
      case 2: fields.I16(static_cast<std::int16_t>(value)); break;
      case 4: fields.I32(static_cast<std::int32_t>(value)); break;
      default: fields.F64(static_cast<double>(value)); break;
    }
    if (!field.sameEntry) ++count;
  }
  ByteBuilder file;
  file.U32(version).U32(count).Bytes(fields.Get()).U32(0);
  return file.Get();
}

class ShotMoveTest : public testing::Test {
 protected:
  void SetUp() override { g_nDataVersion = DATA_VERSION; }
};

cEdShot LoadShot(std::uint32_t version, const Values& values) {
  cEdShot shot;
  std::string error;
  EXPECT_TRUE(shot.LoadBytes(RecordFile(kShotLayout, version, values), &error)) << error;
  return shot;
}

TEST_F(ShotMoveTest, ShotFilesOfOlderVersionsAreUpgraded) {
  // Before 158 the angle was never mirrored; a new record mirrors it.
  EXPECT_EQ(LoadShot(157, {}).m_bMirrorAngle, 0);
  EXPECT_EQ(cEdShot().m_bMirrorAngle, 1);
  EXPECT_EQ(LoadShot(158, {{"mirrorAngle", 1}}).m_bMirrorAngle, 1);

  // Before 197 one flag protected the hero and the characters alike.
  EXPECT_EQ(LoadShot(196, {{"protectPlayer", 9}}).m_bProtectCharas, 9);
  EXPECT_EQ(LoadShot(197, {{"protectPlayer", 9}, {"protectCharas", 4}}).m_bProtectCharas, 4);

  // Homing kinds follow the scrolling in files before 212, whatever 211 stored.
  EXPECT_EQ(LoadShot(211, {{"moveKind", 5}, {"scrollSync", 0}}).m_bScrollSync, 1);
  EXPECT_EQ(LoadShot(211, {{"moveKind", 8}, {"scrollSync", 1}}).m_bScrollSync, 0);
  EXPECT_EQ(LoadShot(210, {{"moveKind", 4}}).m_bScrollSync, 1);
  EXPECT_EQ(LoadShot(212, {{"moveKind", 8}, {"scrollSync", 1}}).m_bScrollSync, 1);

  // Acceleration arrived in 213.
  cEdShot accelerated = LoadShot(213, {{"accelOn", 1}, {"accel", 7}, {"accelStep", -2}, {"speed", 30}});
  EXPECT_EQ(accelerated.m_bAccel, 1);
  EXPECT_EQ(accelerated.m_nAccel, 7);
  EXPECT_EQ(accelerated.m_nAccelStep, -2);
  EXPECT_EQ(accelerated.m_nSpeed, 30);
  cEdShot preset;
  preset.m_bAccel = 1;
  preset.m_nAccel = 5;
  ASSERT_TRUE(preset.LoadBytes(RecordFile(kShotLayout, 212, {{"speed", 30}, {"summonReverse", 1}})));
  EXPECT_EQ(preset.m_bAccel, 0);
  EXPECT_EQ(preset.m_nAccel, 0);
  EXPECT_EQ(preset.m_nSpeed, 30);
  EXPECT_EQ(preset.m_bSummonReverse, 1);
}

TEST_F(ShotMoveTest, ShotValidationRepairsSizeAndHitEffect) {
  FakeDefinitionContext context;
  context.database[eDatabaseList::Effect] = 4;
  struct Case {
    int size, hitEffect, savedSize, savedHitEffect;
  } cases[] = {{0, 3, 1, 3}, {2, 4, 2, 0}, {1, 5, 1, 0}, {1, -1, 1, 0}};
  for (const Case& c : cases) {
    cEdShot shot;
    shot.m_nSize = static_cast<std::uint8_t>(c.size);
    shot.m_nHitEffect = static_cast<std::int16_t>(c.hitEffect);
    cEdShot loaded;
    ASSERT_TRUE(loaded.LoadBytes(shot.SaveBytes()));
    EXPECT_EQ(loaded.m_nSize, c.savedSize) << c.size;
    EXPECT_EQ(loaded.m_nHitEffect, c.savedHitEffect) << c.hitEffect;
  }
}

TEST_F(ShotMoveTest, HitEffectIsKeptWhileTheDatabaseIsUnknown) {
  cEdShot shot;
  shot.m_nHitEffect = 300;
  shot.Validate();
  EXPECT_EQ(shot.m_nHitEffect, 300);
}

TEST_F(ShotMoveTest, OffsetsFollowVolleyAndFacing) {
  cEdShot shot;
  shot.m_nOffsetX = 10;
  shot.m_nOffsetXStep = 4;
  shot.m_nOffsetY = -3;
  shot.m_nOffsetYStep = 2;
  EXPECT_EQ(shot.OffsetX(2, 1), -18.0);
  EXPECT_EQ(shot.OffsetX(2, 0), 18.0);
  EXPECT_EQ(shot.OffsetY(2, 1), 1.0);  // vertical mirroring is off by default
  shot.m_bMirrorOffsetY = 1;
  EXPECT_EQ(shot.OffsetY(2, 1), -1.0);
}

TEST_F(ShotMoveTest, NewMoveSavesItsDefaults) {
  std::shared_ptr<cEdMove> move;
  NewMove(move);
  ASSERT_TRUE(move);
  const Bytes expected = RecordFile(kMoveLayout, DATA_VERSION,
                                    {{"speed", 10},
                                     {"turnFactor", 1},
                                     {"mirrorAngle", 1},
                                     {"useX", 1},
                                     {"useY", 1},
                                     {"endOnArrival", 1},
                                     {"mirrorX", 1},
                                     {"reverseOnTurn", 1}});
  EXPECT_EQ(move->SaveBytes(), expected);
}

TEST_F(ShotMoveTest, MoveFilesOfOlderVersionsAreUpgraded) {
  const Values stored{{"mirrorAngle", 1}, {"distanceUnit", 1}, {"keepFacing", 1}, {"noWalkAnime", 1},
                      {"speed", 25},      {"turnFactor", 2}};
  struct Case {
    std::uint32_t version;
    int mirrorAngle, distanceUnit, keepFacing, noWalkAnime;
  } cases[] = {{157, 0, 0, 0, 0}, {158, 1, 0, 0, 0}, {159, 1, 1, 0, 0}, {161, 1, 1, 0, 0}, {162, 1, 1, 1, 1}};
  for (const Case& c : cases) {
    cEdMove move;  // starts with 1 in every flag that old files lack
    move.m_bKeepFacing = 1;
    move.m_bNoWalkAnime = 1;
    move.m_nDistanceUnit = 1;
    ASSERT_TRUE(move.LoadBytes(RecordFile(kMoveLayout, c.version, stored)));
    EXPECT_EQ(move.m_bMirrorAngle, c.mirrorAngle) << c.version;
    EXPECT_EQ(move.m_nDistanceUnit, c.distanceUnit) << c.version;
    EXPECT_EQ(move.m_bKeepFacing, c.keepFacing) << c.version;
    EXPECT_EQ(move.m_bNoWalkAnime, c.noWalkAnime) << c.version;
    EXPECT_EQ(move.m_nSpeed, 25);
    EXPECT_EQ(move.m_dTurnFactor, 2.0);
  }
}

TEST_F(ShotMoveTest, DirectionFromInputKey) {
  struct Case {
    int key, facingRight, direction;
  } cases[] = {{0, 1, MOVEDIR_RIGHT}, {0, 0, MOVEDIR_LEFT},     {1, 1, MOVEDIR_LEFT},
               {2, 0, MOVEDIR_RIGHT}, {3, 0, MOVEDIR_UP},       {4, 0, MOVEDIR_DOWN},
               {5, 0, MOVEDIR_UP_LEFT}, {5, 1, MOVEDIR_UP_LEFT}, {6, 0, MOVEDIR_DOWN_LEFT},
               {7, 0, MOVEDIR_UP_RIGHT}, {8, 0, MOVEDIR_DOWN_RIGHT}, {9, 1, MOVEDIR_FRONT},
               // Keys that do not exist act as no key.
               {10, 1, MOVEDIR_RIGHT}, {-1, 0, MOVEDIR_LEFT}};
  for (const Case& c : cases) {
    EXPECT_EQ(DirectionFromInputKey(c.key, c.facingRight), c.direction) << c.key << "," << c.facingRight;
  }
}

TEST_F(ShotMoveTest, CopiesOwnTheirRecords) {
  std::shared_ptr<cEdMove> move;
  NewMove(move);
  move->m_nSpeed = 40;
  std::shared_ptr<cEdMove> moveCopy;
  CopyMove(moveCopy, move);
  ASSERT_TRUE(moveCopy);
  EXPECT_NE(moveCopy.get(), move.get());
  EXPECT_EQ(moveCopy->m_nSpeed, 40);
  moveCopy->m_nSpeed = 1;
  EXPECT_EQ(move->m_nSpeed, 40);
  CopyMove(moveCopy, nullptr);
  EXPECT_FALSE(moveCopy);

  std::shared_ptr<cEdShot> shot = cEdShot::Create();
  shot->m_nPower = 12;
  std::shared_ptr<cEdShot> shotCopy = cEdShot::Create();
  CopyShotRecord(shotCopy, shot);
  EXPECT_NE(shotCopy.get(), shot.get());
  EXPECT_EQ(shotCopy->m_nPower, 12);
  CopyShotRecord(shotCopy, nullptr);
  EXPECT_FALSE(shotCopy);
}

// Gives every registered field of the record distinct bytes.
void FillFields(cEdRecord& record) {
  std::uint8_t next = 1;
  for (const cEdField& field : record.FieldTable(DATA_VERSION)) {
    auto* bytes = static_cast<std::uint8_t*>(field.address);
    for (int i = 0; i < field.count * field.size; ++i) bytes[i] = next++;
  }
}

TEST_F(ShotMoveTest, SaveLoadSaveIsByteIdentical) {
  cEdShot shot;
  cEdMove move;
  for (cEdRecord* record : {static_cast<cEdRecord*>(&shot), static_cast<cEdRecord*>(&move)}) {
    FillFields(*record);
    const Bytes first = record->SaveBytes();
    const std::unique_ptr<cEdRecord> loaded = record->Clone();
    ASSERT_TRUE(loaded->LoadBytes(first));
    EXPECT_EQ(loaded->SaveBytes(), first);
  }
}

}  // namespace
