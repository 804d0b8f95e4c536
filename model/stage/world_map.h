// The story mode's world map, data\WorldMap.dat.
//
// A grid of map chips (kinds of cell) over which the player moves a cursor,
// and points on some cells whose events lead into stages. The grid is
// m_nHeight rows of m_nPitch entries; cell (x, y) is entry
// (y << m_nPitchShift) + x, and m_nPitch is the smallest power of two not
// below m_nWidth (the entries of a row beyond the width are padding).
//
// File: u32 data version; the map's base part (8 int32, 2 strings); the chip
// list; the grid (u32 n, n int32); the point list; the extra point list.
// A point is its base part and its event list.
//
// A size outside 1..kMaxWorldMapSide or a row shift that does not match the
// pitch makes the load fail and leaves the map as it was. The grid is kept
// as stored, also when its length is not height x pitch or an entry names
// no chip (the editor writes such maps): every cell lookup is bounded, and a
// cell past the grid's end or naming no chip has no chip (open, no tile).
// Points outside the map are dropped and a start cell outside it is moved
// onto it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/record/record.h"

class cSaveData;

// The largest width and height a map may have, in cells.
constexpr int kMaxWorldMapSide = 4096;

// One kind of map cell.
class cEdMapChip : public cEdRecordOf<cEdMapChip> {
 public:
  std::int32_t m_nReserved = 0;  // kept and saved; not used by the player
  std::int32_t m_bBlocked = 0;   // the cursor cannot enter a cell of this kind
  std::int32_t m_nGraphic = 0;   // tile of the chip image: column n % 5, row n / 5
  std::string m_strName;
  std::string m_strNote;

  void DeclareFields(int nVersion) override;
};

// One possible entry of a point; the first event whose conditions hold is
// the one that applies (FindMapEvent).
class cEdMapEvent : public cEdRecordOf<cEdMapEvent> {
 public:
  // m_nKind values.
  static constexpr int KIND_STAGE = 0;    // a stage entry
  static constexpr int KIND_BLOCKED = 2;  // the cursor cannot step onto the point

  std::int32_t m_nKind = 0;
  std::int32_t m_nIcon = 0;        // row of the point icon
  std::int32_t m_nStage = 0;       // switch that records the stage as cleared
  std::int32_t m_bManual = 0;      // only the decide button opens the entry
  std::int32_t m_bReplayable = 0;  // a cleared stage can be entered again
  std::int32_t m_nReserved = 0;    // kept and saved; not used by the player
  std::int32_t m_nFlag = 0;        // switch that must be on (0 or less: none)
  std::int32_t m_nVariable = 0;    // common variable compared (0: none)
  std::int32_t m_nValue = 0;       // value it is compared with
  std::int32_t m_nCompare = 0;     // 0 ==, 1 !=, 2 >=, 3 <=, 4 >, 5 <; others never hold
  std::int32_t m_nMinCount = 0;    // total score of the progress needed
  std::string m_strCaption;
  std::string m_strStageFile;

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
};

// A cell that carries events.
class cEdMapPoint : public cEdRecordOf<cEdMapPoint> {
 public:
  std::int32_t m_nX = 0;
  std::int32_t m_nY = 0;
  std::string m_strName;
  std::vector<cEdMapEvent> m_vEvents;

  // A new point holds one cleared event.
  cEdMapPoint() : m_vEvents(1) {}

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;
};

class cEdWorldMap : public cEdRecordOf<cEdWorldMap> {
 public:
  std::int32_t m_nWidth = 0;
  std::int32_t m_nHeight = 0;
  std::int32_t m_nPitch = 0;
  std::int32_t m_nPitchShift = 0;
  std::vector<cEdMapChip> m_vChips;
  std::vector<std::int32_t> m_vGrid;
  std::vector<cEdMapPoint> m_vPoints;
  std::vector<cEdMapPoint> m_vExtraPoints;  // kept and saved; not used by the player
  std::int32_t m_nStartX = 0;
  std::int32_t m_nStartY = 0;
  std::int32_t m_nBackColour = 0;
  std::int32_t m_bShowImage = 0;
  std::string m_strName;
  std::string m_strImage;

  cEdWorldMap() { Reset(); }

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  // A 20 x 15 map of chip 0, ten chips (0..4 blocked, 5..9 open), start
  // (9, 7), no points and one extra point "デフォルト".
  void Reset();
  // Moves the start cell onto the map and drops the points outside it.
  void Validate();
  // Resizes the grid, keeping the cells that old and new size share; new
  // cells are 0. 0 (and nothing changed) when a side is not in
  // 1..kMaxWorldMapSide.
  int SetSize(int nWidth, int nHeight);

  // The grid entry of cell (x, y), with x and y clamped onto the map; it
  // may lie past the end of a short grid.
  int GridIndex(int x, int y) const;
  // The chip of cell (x, y), x and y clamped onto the map; null when the
  // cell lies past the grid's end or names no chip.
  const cEdMapChip* ChipAt(int x, int y) const;
  // Index in m_vPoints of the first point at cell (x, y), -1 when none.
  int FindPointAt(int x, int y) const;
  // Point nIndex of m_vPoints, null when there is none (-1 included).
  const cEdMapPoint* PointAt(int nIndex) const;

 private:
  // Why the size or the row shift cannot be used as loaded; empty when they
  // can.
  std::string GridFault() const;
};

// The event of pPoint that applies with this progress: the first whose
// switch condition, variable comparison and minimum total score all hold;
// null for a null point or when none applies.
const cEdMapEvent* FindMapEvent(const cEdMapPoint* pPoint, const cSaveData& progress);

extern cEdWorldMap g_WorldMap;
