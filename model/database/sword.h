// Sword types of the database (SwordType.dat): a pair of pictures (facing
// left, facing right) and the frames that place and time the sword's hit box
// next to its owner. Sword type 0 is an ordinary sword.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/record/record.h"

enum eSwordPosition { SWORD_POS_FRONT, SWORD_POS_BACK, SWORD_POS_ABOVE, SWORD_POS_BELOW };

class cEdSwordFrame : public cEdRecordOf<cEdSwordFrame> {
 public:
  void DeclareFields(int nVersion) override;

  std::int32_t m_nOffsetX = 0;  // pixels, times the size factor
  std::int32_t m_nOffsetY = 0;
  std::int32_t m_bMirrorX = 1;  // facing right subtracts the x offset
  std::int32_t m_bMirrorY = 0;  // facing right subtracts the y offset
  std::int32_t m_nPosition = SWORD_POS_FRONT;
  std::int32_t m_nSrcX = 0;  // rectangle in the sword picture
  std::int32_t m_nSrcY = 0;
  std::int32_t m_nWidth = 0;  // hit box and drawn size, times the size factor
  std::int32_t m_nHeight = 0;
  std::int32_t m_nDuration = 0;  // tenths of a second
};

class cEdSwordType : public cEdRecordOf<cEdSwordType> {
 public:
  // One frame of duration 1.
  cEdSwordType();
  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  std::string m_strName;
  std::int32_t m_nStoredInt = 0;  // not read for play
  std::string m_strFileLeft;      // picture while facing left
  std::string m_strFileRight;     // picture while facing right
  std::vector<cEdSwordFrame> m_vFrames;
};
