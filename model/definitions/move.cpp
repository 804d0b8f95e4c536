#include "model/definitions/move.h"

cEdMove::cEdMove() {
  Clear();
  m_dTurnFactor = 1.0;
  m_nSpeed = 10;
  m_bUseX = 1;
  m_bUseY = 1;
  m_bEndOnArrival = 1;
  m_bMirrorAngle = 1;
  m_bMirrorX = 1;
  m_bMirrorY = 0;
  m_bReverseOnTurn = 1;
}

void cEdMove::DeclareFields(int nVersion) {
  ClearTables();
  ED_FIELD(m_nPositionMode);
  ED_FIELD(m_nDirection);
  ED_FIELD(m_nAngle);
  ED_FIELD(m_nAngleCoef);
  if (nVersion >= 158) ED_FIELD(m_bMirrorAngle);
  ED_FIELD(m_bUseX);
  ED_FIELD(m_bUseY);
  ED_FIELD(m_nTargetCellX);
  ED_FIELD(m_nTargetCellY);
  ED_FIELD(m_nTargetDotX);
  ED_FIELD(m_nTargetDotY);
  ED_FIELD(m_nCoordKind);
  ED_FIELD(m_bEndOnArrival);
  ED_FIELD(m_bVerticalOnly);
  ED_FIELD(m_bHorizontalOnly);
  ED_FIELD(m_bMirrorX);
  ED_FIELD(m_bMirrorY);
  ED_FIELD(m_bReverseOnTurn);
  ED_FIELD(m_bSnapOnArrival);
  if (nVersion >= 162) ED_FIELD(m_bKeepFacing);
  ED_FIELD(m_nTiming);
  ED_FIELD(m_nSpeed);
  ED_FIELD(m_nSpeedCoef);
  ED_FIELD(m_nDistance);
  ED_FIELD(m_nDistanceCoef);
  if (nVersion >= 159) ED_FIELD(m_nDistanceUnit);
  ED_FIELD(m_nRadius);
  ED_FIELD(m_nRadiusCoef);
  ED_FIELD(m_bInertia);
  ED_FIELD(m_nMaxSpeed);
  ED_FIELD(m_dTurnFactor);
  if (nVersion >= 162) ED_FIELD(m_bNoWalkAnime);
}

bool cEdMove::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (g_nFileVersion < 158) m_bMirrorAngle = 0;
  if (g_nFileVersion < 159) m_nDistanceUnit = 0;
  if (g_nFileVersion < 162) {
    m_bKeepFacing = 0;
    m_bNoWalkAnime = 0;
  }
  return !f.Failed();
}

void cEdMove::Save(cDataWriter& f) { cEdRecord::Save(f); }

void NewMove(std::shared_ptr<cEdMove>& p) { p = std::make_shared<cEdMove>(); }

void CopyMove(std::shared_ptr<cEdMove>& dst, const std::shared_ptr<cEdMove>& src) {
  dst = src ? std::make_shared<cEdMove>(*src) : nullptr;
}

int DirectionFromInputKey(int nKey, int bFacingRight) {
  static constexpr int kByKey[] = {MOVEDIR_LEFT,    MOVEDIR_RIGHT,     MOVEDIR_UP,       MOVEDIR_DOWN,
                                   MOVEDIR_UP_LEFT, MOVEDIR_DOWN_LEFT, MOVEDIR_UP_RIGHT, MOVEDIR_DOWN_RIGHT};
  if (nKey >= 1 && nKey <= 8) return kByKey[nKey - 1];
  if (nKey == 9) return MOVEDIR_FRONT;
  return bFacingRight ? MOVEDIR_RIGHT : MOVEDIR_LEFT;
}
