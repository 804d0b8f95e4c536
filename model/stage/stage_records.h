// The small records a stage file holds besides its objects: the screen-out
// rule of each object kind, the background layers and the stage texts.
//
// cEdScreenOutRule: when an object of one kind has left the view far enough
// to be removed (eight int32, no strings, no tail). Files older than 125
// store only m_bLeft of the four switches; the others keep the values the
// rule held before loading.
// cEdBackground: one background layer (image or plain fill, parallax or
// self-scrolling). Files older than 61 stored two int32 where the speeds
// stand now; files of version 61 stored two int32 where the offsets stand.
// cEdStageString: one text the player keeps, copies and saves with the stage
// but does not interpret.
//
// LoadBackgroundList and LoadStageStringList read a u32 count and that many
// records into a list of default elements.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/record/record.h"

class cEdScreenOutRule : public cEdRecordOf<cEdScreenOutRule> {
 public:
  std::int32_t m_bLeft = 0;
  std::int32_t m_bRight = 0;
  std::int32_t m_bTop = 0;
  std::int32_t m_bBottom = 0;
  std::int32_t m_nLeft = 0;    // margins in cells beyond the view edges
  std::int32_t m_nRight = 0;
  std::int32_t m_nTop = 0;
  std::int32_t m_nBottom = 0;

  void DeclareFields(int nVersion) override;
  // The eight values in field order.
  void SetAll(int bLeft, int bRight, int bTop, int bBottom, int nLeft, int nRight, int nTop,
              int nBottom);
};

class cEdBackground : public cEdRecordOf<cEdBackground> {
 public:
  std::int32_t m_bShow = 1;
  std::int32_t m_bFill = 0;          // a plain fill of m_nFillColour instead of an image
  std::int32_t m_nFillColour = 16;   // palette number
  std::int32_t m_nLayer = 0;         // 0 behind the map, 1 in front of it
  double m_dSpeedX = 0.1;            // self-scrolling: pixels per frame; else parallax factor
  double m_dSpeedY = 0.1;
  std::int32_t m_bAutoX = 0;
  std::int32_t m_bAutoY = 0;
  std::string m_strImage;
  double m_dOffsetX = 0;             // offset of a self-scrolling layer
  double m_dOffsetY = 0;

  void DeclareFields(int nVersion) override;
};

class cEdStageString : public cEdRecordOf<cEdStageString> {
 public:
  std::string m_strText;

  void DeclareFields(int nVersion) override;
};

bool LoadBackgroundList(std::vector<cEdBackground>& list, cDataReader& f);
bool LoadStageStringList(std::vector<cEdStageString>& list, cDataReader& f);
