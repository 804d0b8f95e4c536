// The shot parameter record: everything a shot, sword or summon command
// launches, and the tables that name its patterns and movements.
//
// A command holds its cEdShot through a shared pointer and never shares it
// with another command (CopyShotRecord); a launched shot embeds a plain copy.
// Validation keeps the size at least 1 and the hit effect inside the effect
// database. Pattern, movement kind and direction are stored as they are; the
// run-time tables must treat values outside their ranges as harmless.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "model/record/param_info.h"
#include "model/record/record.h"

enum eShotPattern {
  PATTERN_STRAIGHT_A,
  PATTERN_STRAIGHT_B,
  PATTERN_SPREAD,
  PATTERN_LIGHTNING,
  PATTERN_EXPLOSION,
  PATTERN_SURROUND,
  SHOT_PATTERN_COUNT
};

enum eShotMove {
  SHOTMOVE_STRAIGHT,
  SHOTMOVE_AIM_PLAYER,
  SHOTMOVE_AIM_NEAREST,
  SHOTMOVE_AIM_TARGET,
  SHOTMOVE_HOME_PLAYER,
  SHOTMOVE_HOME_NEAREST_DROP,
  SHOTMOVE_HOME_TARGET,
  SHOTMOVE_HOME_NEAREST_RETARGET,
  SHOTMOVE_WAVE,
  SHOTMOVE_FALL,
  SHOT_MOVE_COUNT
};

enum eShotDirection {
  SHOTDIR_FRONT,
  SHOTDIR_BACK,
  SHOTDIR_LEFT,
  SHOTDIR_RIGHT,
  SHOTDIR_FRONT_CW,
  SHOTDIR_FRONT_CCW,
  SHOTDIR_UP,
  SHOTDIR_DOWN,
  SHOTDIR_UP_LEFT,
  SHOTDIR_DOWN_LEFT,
  SHOTDIR_UP_RIGHT,
  SHOTDIR_DOWN_RIGHT,
  SHOTDIR_TRIGGER,
  SHOT_DIRECTION_COUNT
};

// Three parameters per pattern and per movement kind, in enumeration order.
extern const std::array<cEdParamInfo, SHOT_PATTERN_COUNT * 3> g_ShotPatternParams;
extern const std::array<cEdParamInfo, SHOT_MOVE_COUNT * 3> g_ShotMoveParams;

class cEdShot : public cEdRecordOf<cEdShot> {
 public:
  cEdShot();

  // A new record with the defaults of a command's shot.
  static std::shared_ptr<cEdShot> Create();

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void Validate();

  // The launch offsets of a volley; facing 1 is right.
  double OffsetX(int nVolley, int nFacing) const;
  double OffsetY(int nVolley, int nFacing) const;

  std::uint8_t m_nShotCount = 0;
  std::uint8_t m_nPattern = 0;
  std::int16_t m_anPatternParam[3] = {};
  std::uint8_t m_nDirection = 0;
  std::uint8_t m_bAimTarget = 0;
  std::int16_t m_nAngle = 0;
  std::int16_t m_nAngleStep = 0;
  std::uint8_t m_bMirrorAngle = 0;
  std::int16_t m_nAngleRandom = 0;
  std::uint8_t m_bRotateFormation = 0;
  std::uint8_t m_nExtraVolleys = 0;
  std::int16_t m_nOffsetX = 0;
  std::int16_t m_nOffsetXStep = 0;
  std::int16_t m_nOffsetY = 0;
  std::int16_t m_nOffsetYStep = 0;
  std::uint8_t m_bMirrorOffsetX = 0;
  std::uint8_t m_bMirrorOffsetY = 0;
  std::int16_t m_nGraphicNo = 0;
  std::uint8_t m_nLayer = 0;
  std::uint8_t m_bHidden = 0;
  std::uint8_t m_bShooterTeam = 0;
  std::uint8_t m_nTeam = 0;
  std::uint8_t m_nStoredByte1 = 0;
  std::uint8_t m_nSize = 0;
  std::uint8_t m_nStoredByte2 = 0;
  std::uint8_t m_nMoveKind = 0;
  std::int16_t m_anMoveParam[3] = {};
  std::uint8_t m_bScrollSync = 0;
  std::int16_t m_nSpeed = 0;
  std::int16_t m_nSpeedStep = 0;
  std::uint8_t m_bAccel = 0;
  std::int16_t m_nAccel = 0;
  std::int16_t m_nAccelStep = 0;
  std::int16_t m_nRange = 0;
  std::uint8_t m_bRange = 0;
  std::int16_t m_nRangeStep = 0;
  std::uint8_t m_bStopAtRange = 0;
  std::uint8_t m_bLifetime = 0;
  std::int16_t m_nLifetime = 0;
  std::int16_t m_nLifetimeStep = 0;
  std::uint8_t m_bThroughBlocks = 0;
  std::uint8_t m_bPierce = 0;
  std::uint8_t m_bHitShots = 0;
  std::uint8_t m_nShotStrength = 0;
  std::int32_t m_nPower = 0;
  std::int16_t m_nStoredShort = 0;
  std::int8_t m_nImpact = 0;
  std::int16_t m_nHitEffect = 0;
  std::uint8_t m_nItemKind = 0;
  std::int16_t m_nItemIndex = 0;
  std::uint8_t m_nBlockMode = 0;
  // A summoned block does not land on the hero, on characters (one flag
  // for both before version 197).
  std::uint8_t m_bProtectPlayer = 0;
  std::uint8_t m_bProtectCharas = 0;
  std::uint8_t m_nSummonPalette = 0;
  std::int16_t m_nSummonIndex = 0;
  std::uint8_t m_nSummonTeam = 0;
  std::uint8_t m_bNoScore = 0;  // a summoned character scores nothing
  std::uint8_t m_bSummonReverse = 0;
};

// Gives dst a record of its own holding src's values, or empties dst when
// src is empty; dst never shares src's record afterwards.
void CopyShotRecord(std::shared_ptr<cEdShot>& dst, const std::shared_ptr<cEdShot>& src);
