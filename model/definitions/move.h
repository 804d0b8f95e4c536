// The movement parameter record of the movement commands and the warp.
//
// A command holds its cEdMove through a shared pointer and never shares it
// with another command (CopyMove). The record stores every field that any
// movement command or the warp reads; it has no strings and no tail, and
// nothing in it is repaired. DirectionFromInputKey maps the input direction
// that started a flow to a direction code.
#pragma once

#include <cstdint>
#include <memory>

#include "model/record/record.h"

// Direction codes of m_nDirection (and of a shot's launch direction).
enum eMoveDirection {
  MOVEDIR_FRONT,
  MOVEDIR_BACK,
  MOVEDIR_LEFT,
  MOVEDIR_RIGHT,
  MOVEDIR_FRONT_Y,
  MOVEDIR_BACK_Y,
  MOVEDIR_UP,
  MOVEDIR_DOWN,
  MOVEDIR_UP_LEFT,
  MOVEDIR_DOWN_LEFT,
  MOVEDIR_UP_RIGHT,
  MOVEDIR_DOWN_RIGHT,
  MOVEDIR_INPUT
};

class cEdMove : public cEdRecordOf<cEdMove> {
 public:
  cEdMove();

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;

  std::uint8_t m_nPositionMode = 0;
  std::uint8_t m_nDirection = 0;
  std::int16_t m_nAngle = 0;
  std::int16_t m_nAngleCoef = 0;
  std::uint8_t m_bMirrorAngle = 0;
  std::uint8_t m_bUseX = 0;
  std::uint8_t m_bUseY = 0;
  std::int16_t m_nTargetCellX = 0;
  std::int16_t m_nTargetCellY = 0;
  std::int16_t m_nTargetDotX = 0;
  std::int16_t m_nTargetDotY = 0;
  std::uint8_t m_nCoordKind = 0;
  std::uint8_t m_bEndOnArrival = 0;
  std::uint8_t m_bVerticalOnly = 0;
  std::uint8_t m_bHorizontalOnly = 0;
  std::uint8_t m_bMirrorX = 0;
  std::uint8_t m_bMirrorY = 0;
  std::uint8_t m_bReverseOnTurn = 0;
  std::uint8_t m_bSnapOnArrival = 0;
  std::uint8_t m_bKeepFacing = 0;
  std::uint8_t m_nTiming = 0;
  std::int16_t m_nSpeed = 0;
  std::int16_t m_nSpeedCoef = 0;
  std::int16_t m_nDistance = 0;
  std::int16_t m_nDistanceCoef = 0;
  std::uint8_t m_nDistanceUnit = 0;
  std::int16_t m_nRadius = 0;
  std::int16_t m_nRadiusCoef = 0;
  std::uint8_t m_bInertia = 0;
  std::int16_t m_nMaxSpeed = 0;
  double m_dTurnFactor = 0.0;
  std::uint8_t m_bNoWalkAnime = 0;
};

// p becomes a new record with the defaults of a command's move.
void NewMove(std::shared_ptr<cEdMove>& p);
// dst becomes a record of its own holding src's values, or null when src is.
void CopyMove(std::shared_ptr<cEdMove>& dst, const std::shared_ptr<cEdMove>& src);

// The direction code of an input key (0 none, 1 to 8 left, right, up, down,
// up-left, down-left, up-right, down-right, 9 any): no key gives the facing
// side, any direction gives the front code 0. Unknown keys act as no key.
int DirectionFromInputKey(int nKey, int bFacingRight);
