#include "tools/make-demo/demo_entries.h"

#include "tools/make-demo/demo_database.h"
#include "tools/make-demo/demo_flows.h"
#include "tools/make-demo/demo_images.h"

namespace demo {

namespace {

// The pictures of the sheets (demo_images.h) that the entries show.
constexpr std::int16_t kHeroShotGraphic = kShotStar;
constexpr std::int16_t kEnemyShotGraphic = kShotFire;

// Speeds in tenths of a pixel per frame, ranges in half-blocks.
constexpr std::int16_t kHeroWalkSpeed = 30;
constexpr std::int16_t kHeroJumpHeight = 6;
constexpr std::int16_t kHeroShotSpeed = 80;
constexpr std::int16_t kHeroShotRange = 20;
constexpr std::uint8_t kHeroSwordType = 0;
constexpr std::int32_t kHeroSwordPower = 2;
constexpr std::int16_t kEnemyShotSpeed = 40;
constexpr std::int16_t kEnemyShotRange = 24;
constexpr std::int16_t kShooterSight = 16;
constexpr std::int32_t kCloudJumpHeight = 10;
constexpr std::int32_t kCoinScore = 10;

// Parameters of the status operation (ApplyStatusOperation).
enum eStatusOpParam {
  OP_TARGET = 3,
  OP_ITEM = 4,
  OP_OPERATION = 5,
  OP_CONSTANT = 7,
  OP_SHOW_GAUGE = 16,
};
constexpr std::int32_t kTargetSelf = 0;
constexpr std::int32_t kTargetSystem = 2;
constexpr std::int32_t kStatusAdd = 1;
constexpr std::int32_t kSystemScore = 3;
constexpr std::int32_t kCharaHp = 1;

// The stage clear's "where next": the next part, or the end of the series.
constexpr std::int32_t kClearNextStage = 0;
constexpr std::int32_t kClearWorld = 2;
// Turn command modes.
constexpr std::int32_t kTurnToTarget = 2;
constexpr std::int32_t kTurnFromWall = 5;
// Set-target kind: the hero.
constexpr std::int32_t kTargetHero = 0;
// Distance condition: the horizontal band around the character.
constexpr std::int8_t kDistanceHorizontal = 0;

cEdBlock Block(const char* name, std::int16_t graphic, std::int8_t collision) {
  cEdBlock block;
  block.m_strName = name;
  block.m_nGraphicNo = graphic;
  block.m_nCollision = collision;
  return block;
}

// A character of the computer's team that hurts the hero on contact.
cEdChara Enemy(const char* name, std::int16_t graphic, std::int32_t hp, std::int32_t score) {
  cEdChara chara;
  chara.m_strName = name;
  chara.m_nGraphicNo = graphic;
  chara.m_nControl = 1;
  chara.m_nTeam = 1;
  chara.m_nMaxHP = hp;
  chara.m_nPower = 1;
  chara.m_nScore = score;
  chara.m_nDeathEffect = kDeathCharaEffect;
  chara.m_nDropItem = -1;
  return chara;
}

cEdItem Item(const char* name, std::int16_t graphic, std::initializer_list<cEdCommand> commands) {
  cEdItem item;
  item.m_strName = name;
  item.m_nGraphicNo = graphic;
  item.m_vCommand.assign(commands);
  return item;
}

cEdCommand StatusAdd(std::int32_t target, std::int32_t item, std::int32_t value, bool showGauge) {
  cEdCommand command = ItemCommand(ICMD_STATUS_OPERATION);
  command.m_vParam.at(OP_TARGET) = target;
  command.m_vParam.at(OP_ITEM) = item;
  command.m_vParam.at(OP_OPERATION) = kStatusAdd;
  command.m_vParam.at(OP_CONSTANT) = value;
  command.m_vParam.at(OP_SHOW_GAUGE) = showGauge ? 1 : 0;
  return command;
}

cEdCommand Move(eFlowCommand kind, std::int16_t time, std::shared_ptr<cEdMove> move) {
  cEdCommand command = FlowCommand(kind, time);
  command.m_pMove = std::move(move);
  return command;
}

// A shot that shows the burst where it hits.
std::shared_ptr<cEdShot> Bullet(std::int16_t graphic, std::int16_t speed, std::int16_t rangeHbl) {
  std::shared_ptr<cEdShot> shot = SingleShot(graphic, speed, rangeHbl, 1);
  shot->m_nHitEffect = kHitEffect;
  return shot;
}

cEdCommand Shot(std::int16_t time, std::shared_ptr<cEdShot> shot) {
  cEdCommand command = FlowCommand(CMD_SHOT, time);
  command.m_pShot = std::move(shot);
  return command;
}

cEdChara Hero() {
  cEdChara hero;
  hero.m_strName = "主人公";
  // The knight's own image (graphic kind 4): the sheet's row 0 is graphic
  // number 0, which no placed hero may have.
  hero.m_nGraphicKind = 4;
  hero.m_nGraphicNo = kKnightImage;
  hero.m_nControl = 0;
  hero.m_nTeam = 0;
  hero.m_nFacing = 1;
  hero.m_bFixedFacing = 0;  // walking turns the hero
  hero.m_nMaxHP = 3;
  hero.m_nDropItem = -1;
  // One frame of walking per frame the keys are held (the stages run one
  // sub-step per frame).
  hero.m_vFlow.push_back(KeyFlow({KEY_LEFT, KEY_UP_LEFT, KEY_DOWN_LEFT}, true,
                                 {Move(CMD_MOVE_STRAIGHT, 0, StraightMove(MOVEDIR_LEFT, kHeroWalkSpeed))}));
  hero.m_vFlow.push_back(KeyFlow({KEY_RIGHT, KEY_UP_RIGHT, KEY_DOWN_RIGHT}, true,
                                 {Move(CMD_MOVE_STRAIGHT, 0, StraightMove(MOVEDIR_RIGHT, kHeroWalkSpeed))}));
  // Jump height follows how long button 1 is held (mode 1), up to the full height.
  hero.m_vFlow.push_back(
      KeyFlow({KEY_BUTTON1}, false, {FlowCommand(CMD_JUMP, 0, {1, 0, kHeroJumpHeight, 0, kHeroJumpHeight})}));
  // The shot lasts a fifth of a second, which limits how fast the hero fires.
  hero.m_vFlow.push_back(
      KeyFlow({KEY_BUTTON2}, false, {Shot(2, Bullet(kHeroShotGraphic, kHeroShotSpeed, kHeroShotRange))}));
  // The sword lasts as long as its frames (validation sets the time).
  cEdCommand sword = FlowCommand(CMD_SWORD, 0);
  sword.m_pShot = cEdShot::Create();
  sword.m_pShot->m_nMoveKind = kHeroSwordType;
  sword.m_pShot->m_nPower = kHeroSwordPower;
  sword.m_pShot->m_nHitEffect = kHitEffect;
  hero.m_vFlow.push_back(KeyFlow({KEY_BUTTON3}, false, {sword}));
  return hero;
}

// Walks along the ground, turning at ledges and at walls.
cEdChara Walker() {
  cEdChara walker = Enemy("ウォーカー", kWalkerGraphic, 1, 100);
  std::shared_ptr<cEdMove> walk;
  NewMove(walk);
  walk->m_nSpeed = 10;
  walker.m_vFlow.push_back(MakeFlow(TRIGGER_ALWAYS, {Move(CMD_MOVE_GROUND_TURN, 100, walk)}));
  walker.m_vFlow.push_back(MakeFlow(TRIGGER_BLOCK_LEFT_RIGHT, {FlowCommand(CMD_TURN, 0, {kTurnFromWall})}));
  return walker;
}

// Stands still and, while the hero is near, faces it and fires at it.
cEdChara Shooter() {
  cEdChara shooter = Enemy("トゲこうら", kSpikyGraphic, 3, 300);
  std::shared_ptr<cEdShot> shot = Bullet(kEnemyShotGraphic, kEnemyShotSpeed, kEnemyShotRange);
  shot->m_nMoveKind = SHOTMOVE_AIM_PLAYER;
  cEdFlow fire = MakeFlow(TRIGGER_ALWAYS, {FlowCommand(CMD_SET_TARGET, 0, {kTargetHero}),
                                           FlowCommand(CMD_TURN, 0, {kTurnToTarget}), Shot(0, shot),
                                           FlowCommand(CMD_WAIT, 15)});
  cEdCondition near;
  near.m_nKind = COND_DISTANCE;
  near.m_nValue = kShooterSight;
  near.m_nDistanceMode = kDistanceHorizontal;
  fire.m_vCondition.push_back(near);
  shooter.m_vFlow.push_back(fire);
  return shooter;
}

// Flies up and down through the blocks.
cEdChara Flyer() {
  cEdChara flyer = Enemy("コウモリ", kFlyerGraphic, 2, 200);
  flyer.m_nFlying = 1;
  flyer.m_vFlow.push_back(MakeFlow(TRIGGER_ALWAYS, {Move(CMD_MOVE_STRAIGHT, 10, StraightMove(MOVEDIR_UP, 15)),
                                                    Move(CMD_MOVE_STRAIGHT, 10, StraightMove(MOVEDIR_DOWN, 15))}));
  return flyer;
}

}  // namespace

std::vector<cEdBlock> CommonBlocks() {
  cEdBlock cloud = Block("ふわふわ雲", kBlockCloud, 1);
  cloud.m_nEffect = 1;  // the hero standing on it is thrown up
  cloud.m_nEffectValue = kCloudJumpHeight;
  return {cEdBlock(), Block("地面", kBlockGround, 1), Block("レンガ", kBlockBrick, 1),
          Block("トゲ", kBlockSpikes, 2), cloud};
}

std::vector<cEdChara> CommonCharas() {
  return {cEdChara(), Hero(), Walker(), Shooter(), Flyer()};
}

std::vector<cEdItem> CommonItems() {
  return {cEdItem(), Item("コイン", kItemCoin, {StatusAdd(kTargetSystem, kSystemScore, kCoinScore, false)}),
          Item("ハート", kItemHeart, {StatusAdd(kTargetSelf, kCharaHp, 1, true)}), GoalItem(eGoalKind::NextPart)};
}

cEdCommonPalette DemoCommonPalette() {
  cEdCommonPalette palette;
  palette.m_vBlocks = CommonBlocks();
  palette.m_vCharas = CommonCharas();
  palette.m_vItems = CommonItems();
  return palette;
}

cEdItem GoalItem(eGoalKind kind) {
  const std::int32_t next = kind == eGoalKind::NextPart ? kClearNextStage : kClearWorld;
  return Item("ゴール", kItemGoalFlag, {ItemCommand(ICMD_STAGE_CLEAR, {next})});
}

}  // namespace demo
