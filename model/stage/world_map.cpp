#include "model/stage/world_map.h"

#include <algorithm>
#include <bit>

#include "base/checked_access.h"
#include "base/format.h"
#include "base/report.h"
#include "model/user/save_data.h"

cEdWorldMap g_WorldMap;

namespace {

constexpr int kResetWidth = 20;
constexpr int kResetHeight = 15;
constexpr int kResetChips = 10;
constexpr int kFirstOpenChip = 5;  // chips 0..4 are walls, 5..9 open ground

// The row length of a grid and its log2 for a map nWidth cells wide.
int PitchFor(int nWidth) { return static_cast<int>(std::bit_ceil(static_cast<unsigned>(nWidth))); }
int ShiftFor(int nPitch) { return std::countr_zero(static_cast<unsigned>(nPitch)); }

bool CompareHolds(int nValue, int nCompare, int nWith) {
  switch (nCompare) {
    case 0: return nValue == nWith;
    case 1: return nValue != nWith;
    case 2: return nValue >= nWith;
    case 3: return nValue <= nWith;
    case 4: return nValue > nWith;
    case 5: return nValue < nWith;
    default: return false;
  }
}

}  // namespace

void cEdMapChip::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nReserved);
  ED_FIELD(m_bBlocked);
  ED_FIELD(m_nGraphic);
  ED_STRING(m_strName);
  ED_STRING(m_strNote);
}

void cEdMapEvent::DeclareFields(int nVersion) {
  ClearTables();
  ED_FIELD(m_nKind);
  ED_FIELD(m_nIcon);
  ED_FIELD(m_nStage);
  ED_FIELD(m_bManual);
  ED_FIELD(m_bReplayable);
  ED_FIELD(m_nReserved);
  ED_FIELD(m_nFlag);
  ED_FIELD(m_nVariable);
  ED_FIELD(m_nValue);
  ED_FIELD(m_nCompare);
  if (nVersion >= 209) ED_FIELD(m_nMinCount);
  ED_STRING(m_strCaption);
  ED_STRING(m_strStageFile);
}

bool cEdMapEvent::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  // Files older than version 209 have no score condition.
  if (g_nFileVersion < 209) m_nMinCount = 0;
  return !f.Failed();
}

void cEdMapPoint::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nX);
  ED_FIELD(m_nY);
  ED_STRING(m_strName);
}

bool cEdMapPoint::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  return LoadRecordList(f, m_vEvents);
}

void cEdMapPoint::Save(cDataWriter& f) {
  cEdRecord::Save(f);
  SaveRecordList(f, m_vEvents);
}

void cEdMapPoint::VisitTail(cRecordVisitor& v) { VisitRecordList(v, "m_vEvents", m_vEvents); }

void cEdWorldMap::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nWidth);
  ED_FIELD(m_nHeight);
  ED_FIELD(m_nPitch);
  ED_FIELD(m_nPitchShift);
  ED_FIELD(m_nStartX);
  ED_FIELD(m_nStartY);
  ED_FIELD(m_nBackColour);
  ED_FIELD(m_bShowImage);
  ED_STRING(m_strName);
  ED_STRING(m_strImage);
}

bool cEdWorldMap::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (!LoadRecordList(f, m_vChips)) return false;
  if (!f.ReadValueList(m_vGrid)) return false;
  if (!LoadRecordList(f, m_vPoints)) return false;
  if (!LoadRecordList(f, m_vExtraPoints)) return false;
  const std::string fault = GridFault();
  if (!fault.empty()) return f.Fail(fault);
  Validate();
  return !f.Failed();
}

void cEdWorldMap::Save(cDataWriter& f) {
  Validate();
  cEdRecord::Save(f);
  SaveRecordList(f, m_vChips);
  f.WriteValueList(m_vGrid);
  SaveRecordList(f, m_vPoints);
  SaveRecordList(f, m_vExtraPoints);
}

void cEdWorldMap::VisitTail(cRecordVisitor& v) {
  VisitRecordList(v, "m_vChips", m_vChips);
  v.Values("m_vGrid", m_vGrid.data(), m_vGrid.size());
  VisitRecordList(v, "m_vPoints", m_vPoints);
  VisitRecordList(v, "m_vExtraPoints", m_vExtraPoints);
}

std::string cEdWorldMap::GridFault() const {
  std::string fault;
  if (m_nWidth < 1 || m_nWidth > kMaxWorldMapSide || m_nHeight < 1 ||
      m_nHeight > kMaxWorldMapSide) {
    FormatString(fault, "map size %d x %d outside 1..%d", m_nWidth, m_nHeight, kMaxWorldMapSide);
  } else if (m_nPitchShift < 0 || m_nPitchShift > ShiftFor(PitchFor(kMaxWorldMapSide)) ||
             m_nPitch != (1 << m_nPitchShift) || m_nPitch < m_nWidth) {
    FormatString(fault, "grid pitch %d and shift %d do not fit a width of %d", m_nPitch,
                 m_nPitchShift, m_nWidth);
  }
  return fault;
}

void cEdWorldMap::Reset() {
  Clear();
  m_strName = "ワールド";
  m_nStartX = 9;
  m_nStartY = 7;
  m_nBackColour = 16;
  m_bShowImage = 0;
  m_vChips.assign(kResetChips, cEdMapChip());
  for (int i = 0; i < kResetChips; ++i) {
    cEdMapChip& chip = m_vChips[static_cast<std::size_t>(i)];
    chip.m_nGraphic = i;
    chip.m_bBlocked = i < kFirstOpenChip ? 1 : 0;
    chip.m_strNote = i < kFirstOpenChip ? "通行不可" : "通行可";
  }
  m_vGrid.clear();
  SetSize(kResetWidth, kResetHeight);
  m_vPoints.clear();
  m_vExtraPoints.assign(1, cEdMapPoint());
  m_vExtraPoints[0].m_strName = "デフォルト";
}

void cEdWorldMap::Validate() {
  // A negative start would put the cursor off the map as well.
  if (m_nStartX >= m_nWidth) m_nStartX = m_nWidth - 1;
  if (m_nStartY >= m_nHeight) m_nStartY = m_nHeight - 1;
  m_nStartX = std::max(m_nStartX, 0);
  m_nStartY = std::max(m_nStartY, 0);
  std::erase_if(m_vPoints, [this](const cEdMapPoint& point) {
    return point.m_nX >= m_nWidth || point.m_nY >= m_nHeight;
  });
}

int cEdWorldMap::SetSize(int nWidth, int nHeight) {
  if (nWidth == 0 || nHeight == 0) {
    ErrorLog("SetSize()で 0 を指定しました！");
    return 0;
  }
  if (nWidth < 0 || nHeight < 0 || nWidth > kMaxWorldMapSide || nHeight > kMaxWorldMapSide) {
    ErrorLogF("SetSize(%d, %d): size out of range", nWidth, nHeight);
    return 0;
  }
  const std::vector<std::int32_t> oldGrid = std::move(m_vGrid);
  const int oldWidth = m_nWidth;
  const int oldHeight = m_nHeight;
  const int oldShift = m_nPitchShift;
  if (!oldGrid.empty()) {
    ErrorLogF("nBeforeWidth = %d,nBeforePitch = %d,nBeforePitch_Shift = %d", oldWidth, m_nPitch,
              oldShift);
  }

  m_nWidth = nWidth;
  m_nHeight = nHeight;
  m_nPitch = PitchFor(nWidth);
  m_nPitchShift = ShiftFor(m_nPitch);
  m_vGrid.assign(static_cast<std::size_t>(nHeight) * m_nPitch, 0);

  for (int row = 0; row < std::min(oldHeight, nHeight); ++row) {
    for (int column = 0; column < std::min(oldWidth, nWidth); ++column) {
      const std::size_t from = (static_cast<std::size_t>(row) << oldShift) + column;
      if (from >= oldGrid.size()) continue;  // an old grid shorter than its size
      m_vGrid[(static_cast<std::size_t>(row) << m_nPitchShift) + column] = oldGrid[from];
    }
  }
  return 1;
}

int cEdWorldMap::GridIndex(int x, int y) const {
  x = std::clamp(x, 0, std::max(m_nWidth - 1, 0));
  y = std::clamp(y, 0, std::max(m_nHeight - 1, 0));
  return (y << m_nPitchShift) + x;
}

const cEdMapChip* cEdWorldMap::ChipAt(int x, int y) const {
  const auto cell = static_cast<std::size_t>(GridIndex(x, y));
  if (cell >= m_vGrid.size()) return nullptr;
  const std::int32_t chip = m_vGrid[cell];
  if (chip < 0 || static_cast<std::size_t>(chip) >= m_vChips.size()) return nullptr;
  return &m_vChips[static_cast<std::size_t>(chip)];
}

int cEdWorldMap::FindPointAt(int x, int y) const {
  for (std::size_t i = 0; i < m_vPoints.size(); ++i) {
    if (m_vPoints[i].m_nX == x && m_vPoints[i].m_nY == y) return static_cast<int>(i);
  }
  return -1;
}

const cEdMapPoint* cEdWorldMap::PointAt(int nIndex) const {
  if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= m_vPoints.size()) return nullptr;
  return &m_vPoints[static_cast<std::size_t>(nIndex)];
}

const cEdMapEvent* FindMapEvent(const cEdMapPoint* pPoint, const cSaveData& progress) {
  if (pPoint == nullptr) return nullptr;
  for (const cEdMapEvent& event : pPoint->m_vEvents) {
    if (event.m_nFlag > 0 && CheckedAt(progress.m_vSwitches, event.m_nFlag) == 0) continue;
    if (event.m_nVariable != 0 &&
        !CompareHolds(CheckedAt(progress.m_vVariables, event.m_nVariable), event.m_nCompare,
                      event.m_nValue)) {
      continue;
    }
    if (progress.m_nBestTotal < event.m_nMinCount) continue;
    return &event;
  }
  return nullptr;
}
