#include "model/stage/stage.h"

#include <algorithm>

#include "model/stage/common_palette.h"
#include "model/definitions/definition_context.h"
#include "model/stage/palette_scope.h"

cEdStage g_LoadedStage;
cEdStage g_PlayStage;

namespace {

// A placed element is preceded by a word that is written 0 and ignored.
constexpr std::size_t kPlacedWordBytes = 4;
constexpr std::size_t kMinRecordBytes = 8;

template <class T>
bool LoadPlacedList(cDataReader& f, std::vector<T>& list) {
  std::uint32_t count = 0;
  if (!f.ReadCount(count, kPlacedWordBytes + kMinRecordBytes)) return false;
  return LoadElements(list, count, T(), [&f](T& element) {
    return f.Read(nullptr, kPlacedWordBytes) && element.Load(f);
  });
}

template <class T>
void SavePlacedList(cDataWriter& f, std::vector<T>& list) {
  f.WriteU32(static_cast<std::uint32_t>(list.size()));
  for (T& element : list) {
    f.WriteU32(0);
    element.Save(f);
  }
}

}  // namespace

cEdStage::cEdStage() { Reset(); }

void cEdStage::DeclareFields(int nVersion) {
  ClearTables();
  ED_STRING(m_strName);
  ED_FIELD(m_nWidth);
  ED_FIELD(m_nReserved1);
  ED_FIELD(m_nReserved2);
  ED_FIELD(m_nHeight);
  ED_FIELD(m_bLimitLeft);
  ED_FIELD(m_bLimitRight);
  ED_FIELD(m_bLimitBottom);
  ED_FIELD(m_bLimitTop);
  ED_FIELD(m_nLimitLeft);
  ED_FIELD(m_nLimitRight);
  ED_FIELD(m_nLimitTop);
  ED_FIELD(m_nLimitBottom);
  ED_FIELD(m_nFps);
  ED_FIELD(m_bTimeLimit);
  ED_FIELD(m_nTimeLimit);
  ED_FIELD(m_nTimeWarning);
  ED_FIELD(m_bAutoScrollX);
  ED_FIELD(m_bAutoScrollY);
  ED_FIELD(m_nAutoScrollSpeedX);
  ED_FIELD(m_nAutoScrollSpeedY);
  ED_FIELD(m_dGravity);
  ED_FIELD(m_nSpeedLevel);
  ED_FIELD(m_nHitCheckLevel);
  ED_FIELD(m_nBgm);
  if (nVersion >= 166) ED_FIELD(m_bBgmLoop);
  if (nVersion >= 199) ED_FIELD(m_bBgmKeep);
  ED_FIELD(m_bPriorityLayers);
  ED_FIELD(m_bTakeOverStatus);
  ED_FIELD(m_bKeepStatus);
  if (nVersion >= 183) ED_FIELD(m_bStatusBar);
  if (nVersion >= 184) ED_FIELD(m_bSkipResult);
  ED_FIELD(m_bStartBanner);
  if (nVersion >= 225) ED_FIELD(m_bStartBanner2);
  ED_FIELD(m_bClearBanner);
  ED_FIELD(m_bGameOverBanner);

  if (nVersion >= 200) {
    AddFieldPair(m_nPlayerSizeW, m_nPlayerSizeH, "m_nPlayerSize");
    AddFieldPair(m_nPlayerFlySizeW, m_nPlayerFlySizeH, "m_nPlayerFlySize");
  }
  AddFieldPair(m_nPlayerBox1W, m_nPlayerBox1H, "m_nPlayerBox1");
  if (nVersion >= 155) AddFieldPair(m_nPlayerFlyBox1W, m_nPlayerFlyBox1H, "m_nPlayerFlyBox1");
  AddFieldPair(m_nPlayerBox2W, m_nPlayerBox2H, "m_nPlayerBox2");
  AddFieldPair(m_nPlayerBox3W, m_nPlayerBox3H, "m_nPlayerBox3");
  if (nVersion >= 200) {
    ED_FIELD(m_bPlayerSizeBottom);
    ED_FIELD(m_bPlayerFlySizeBottom);
  }
  if (nVersion >= 155) {
    ED_FIELD(m_bPlayerBox1Bottom);
    ED_FIELD(m_bPlayerFlyBox1Bottom);
  }
  if (nVersion >= 200) ED_FIELD(m_nShowPlayerSize);
  ED_FIELD(m_nShowPlayerBox1);
  ED_FIELD(m_nShowPlayerBox2);
  ED_FIELD(m_nShowPlayerBox3);
  if (nVersion >= 200) ED_FIELD(m_nPlayerSizeColour);
  ED_FIELD(m_nPlayerBox1Colour);
  ED_FIELD(m_nPlayerBox2Colour);
  ED_FIELD(m_nPlayerBox3Colour);

  if (nVersion >= 200) {
    AddFieldPair(m_nCharaSizeW, m_nCharaSizeH, "m_nCharaSize");
    AddFieldPair(m_nCharaFlySizeW, m_nCharaFlySizeH, "m_nCharaFlySize");
  }
  AddFieldPair(m_nCharaBox1W, m_nCharaBox1H, "m_nCharaBox1");
  if (nVersion >= 155) AddFieldPair(m_nCharaFlyBox1W, m_nCharaFlyBox1H, "m_nCharaFlyBox1");
  AddFieldPair(m_nCharaBox2W, m_nCharaBox2H, "m_nCharaBox2");
  if (nVersion >= 200) {
    ED_FIELD(m_bCharaSizeBottom);
    ED_FIELD(m_bCharaFlySizeBottom);
  }
  if (nVersion >= 155) {
    ED_FIELD(m_bCharaBox1Bottom);
    ED_FIELD(m_bCharaFlyBox1Bottom);
  }
  AddFieldPair(m_nItemBoxW, m_nItemBoxH, "m_nItemBox");
  AddFieldPair(m_nCharaShotBoxW, m_nCharaShotBoxH, "m_nCharaShotBox");
  AddFieldPair(m_nCharaShotSizeW, m_nCharaShotSizeH, "m_nCharaShotSize");
  AddFieldPair(m_nPlayerShotBoxW, m_nPlayerShotBoxH, "m_nPlayerShotBox");
  AddFieldPair(m_nPlayerShotSizeW, m_nPlayerShotSizeH, "m_nPlayerShotSize");
  ED_FIELD(m_nReserved3);
  ED_FIELD(m_nAreaExtraX);
  ED_FIELD(m_nAreaExtraY);

  ED_FIELD(m_nSubSteps);
  ED_FIELD(m_dSubSteps);
  ED_FIELD(m_dSubStepsSq);
  ED_FIELD(m_dMaxSpeed);
  ED_FIELD(m_dGravityStep);
  ED_FIELD(m_dMaxSpeedStep);
  ED_FIELD(m_nSubSteps8);
  ED_FIELD(m_bHitOnlyOnScreen);
  ED_FIELD(m_nPlayerContactGuard);
  ED_FIELD(m_nPlayerHitGuard);
  ED_FIELD(m_nCharaContactGuard);
  ED_FIELD(m_nCharaHitGuard);
}

void cEdStage::Reset() {
  Clear();
  m_vPlacedBlocks.clear();
  m_vPlacedCharas.clear();
  m_vPlacedItems.clear();
  m_vPaletteBlocks.assign(1, cEdBlock());
  m_vPaletteCharas.assign(1, cEdChara());
  m_vPaletteItems.assign(1, cEdItem());

  m_nFps = 60;
  m_nTimeLimit = 200;
  m_nTimeWarning = 20;
  m_dGravity = 0.4;
  m_nSpeedLevel = 10;
  m_bPriorityLayers = 1;
  m_bStatusBar = 1;
  m_bStartBanner2 = 1;
  m_bClearBanner = 1;
  m_bGameOverBanner = 1;
  m_nPlayerSizeW = 16;
  m_nPlayerSizeH = 24;
  m_nPlayerFlySizeW = 16;
  m_nPlayerFlySizeH = 16;
  m_nPlayerBox1W = 16;
  m_nPlayerBox1H = 24;
  m_nPlayerFlyBox1W = 16;
  m_nPlayerFlyBox1H = 16;
  m_nPlayerBox2W = 12;
  m_nPlayerBox2H = 8;
  m_nPlayerBox3W = 16;
  m_nPlayerBox3H = 16;
  m_bPlayerSizeBottom = 1;
  m_bPlayerFlySizeBottom = 0;
  m_bPlayerBox1Bottom = 1;
  m_bPlayerFlyBox1Bottom = 0;
  m_nCharaSizeW = 16;
  m_nCharaSizeH = 24;
  m_nCharaFlySizeW = 16;
  m_nCharaFlySizeH = 16;
  m_nCharaBox1W = 12;
  m_nCharaBox1H = 24;
  m_nCharaFlyBox1W = 12;
  m_nCharaFlyBox1H = 16;
  m_nCharaBox2W = 30;
  m_nCharaBox2H = 30;
  m_bCharaSizeBottom = 1;
  m_bCharaFlySizeBottom = 0;
  m_bCharaBox1Bottom = 1;
  m_bCharaFlyBox1Bottom = 0;
  m_nItemBoxW = 28;
  m_nItemBoxH = 28;
  m_nCharaShotBoxW = 16;
  m_nCharaShotBoxH = 16;
  m_nCharaShotSizeW = 16;
  m_nCharaShotSizeH = 16;
  m_nPlayerShotBoxW = 16;
  m_nPlayerShotBoxH = 16;
  m_nPlayerShotSizeW = 16;
  m_nPlayerShotSizeH = 16;
  m_nReserved3 = 1;
  m_bHitOnlyOnScreen = 1;
  m_nPlayerContactGuard = 30;
  m_nCharaContactGuard = 30;

  cEdBackground firstLayer;
  firstLayer.m_bFill = 1;
  m_vBackgrounds.assign(1, firstLayer);
  m_vRankingFlags.assign(STAGE_RANKING_KINDS, 1);
  m_aScreenOut[SCREENOUT_CHARA].SetAll(0, 0, 0, 0, 0, 0, 0, 0);
  m_aScreenOut[SCREENOUT_BLOCK_CHARA].SetAll(0, 0, 0, 0, 0, 0, 0, 0);
  m_aScreenOut[SCREENOUT_ITEM].SetAll(0, 0, 0, 0, 0, 0, 0, 0);
  m_aScreenOut[SCREENOUT_CHARA_SHOT].SetAll(1, 1, 1, 1, 0, 0, 0, 0);
  m_aScreenOut[SCREENOUT_PLAYER_SHOT].SetAll(1, 1, 1, 1, 10, 10, 10, 10);
  SetSpeedLevel(m_nSpeedLevel);
}

bool cEdStage::Load(cDataReader& f) {
  // Entries of this stage's palette inherit from the palette being read.
  cPaletteScope palette(nullptr, this);
  if (!cEdRecord::Load(f)) return false;

  std::uint32_t count = 0;
  if (!f.ReadCount(count, sizeof(std::int32_t))) return false;
  m_vRankingFlags.resize(count, 0);
  for (std::int32_t& flag : m_vRankingFlags) f.ReadValue(flag);
  for (cEdScreenOutRule& rule : m_aScreenOut) {
    if (!rule.Load(f)) return false;
  }

  if (!LoadBlockList(m_vPaletteBlocks, f) || !LoadCharaList(m_vPaletteCharas, f) ||
      !LoadItemList(m_vPaletteItems, f)) {
    return false;
  }
  SetEmptyPaletteEntry(m_vPaletteBlocks);
  SetEmptyPaletteEntry(m_vPaletteCharas);
  SetEmptyPaletteEntry(m_vPaletteItems);

  if (!LoadPlacedList(f, m_vPlacedBlocks) || !LoadPlacedList(f, m_vPlacedCharas) ||
      !LoadPlacedList(f, m_vPlacedItems)) {
    return false;
  }
  if (!LoadBackgroundList(m_vBackgrounds, f) || !LoadStageStringList(m_vStageStrings, f)) {
    return false;
  }
  // Checked before the file's bytes are loaded (CheckStageEndMarker); here
  // it is only passed over.
  if (g_nFileVersion >= 173) {
    std::uint32_t marker = 0;
    if (!f.ReadU32(marker)) return false;
  }

  if (g_nFileVersion < DATA_VERSION) Upgrade(g_nFileVersion);
  Validate();
  return !f.Failed();
}

void cEdStage::Upgrade(std::uint32_t nFileVersion) {
  if (nFileVersion < 155) {
    m_nPlayerFlyBox1W = m_nPlayerBox1W;
    m_nPlayerFlyBox1H = m_nPlayerBox1H;
    m_nCharaFlyBox1W = m_nCharaBox1W;
    m_nCharaFlyBox1H = m_nCharaBox1H;
    m_bPlayerBox1Bottom = 0;
    m_bPlayerFlyBox1Bottom = 0;
    m_bCharaBox1Bottom = 0;
    m_bCharaFlyBox1Bottom = 0;
  }
  if (nFileVersion < 166) m_bBgmLoop = 1;
  if (nFileVersion < 181) {
    // Ranking kinds 3 and 4 came in 181.
    m_vRankingFlags.resize(STAGE_RANKING_KINDS, 0);
    m_vRankingFlags[3] = 0;
    m_vRankingFlags[4] = 0;
  }
  if (nFileVersion < 183) m_bStatusBar = 1;
  if (nFileVersion < 184) m_bSkipResult = 0;
  if (nFileVersion < 199) m_bBgmKeep = 0;
  if (nFileVersion < 200) {
    m_nPlayerSizeW = 16;
    m_nPlayerSizeH = 24;
    m_nPlayerFlySizeW = 16;
    m_nPlayerFlySizeH = 16;
    m_bPlayerSizeBottom = 1;
    m_bPlayerFlySizeBottom = 0;
    m_nShowPlayerSize = 0;
    m_nPlayerSizeColour = 5;
    m_nCharaSizeW = 16;
    m_nCharaSizeH = 30;
    m_nCharaFlySizeW = 16;
    m_nCharaFlySizeH = 30;
    m_bCharaSizeBottom = 1;
    m_bCharaFlySizeBottom = 1;
  }
  if (nFileVersion < 225) m_bStartBanner2 = 0;
}

void cEdStage::Save(cDataWriter& f) {
  cPaletteScope palette(nullptr, this);
  Validate();
  cEdRecord::Save(f);
  SaveTail(f, *this);
}

void cEdStage::SaveForReplay(cDataWriter& f, cEdStage& start) {
  cPaletteScope palette(nullptr, this);
  Validate();
  start.cEdRecord::Save(f);
  SaveTail(f, start);
}

void cEdStage::SaveTail(cDataWriter& f, cEdStage& settings) {
  f.WriteU32(static_cast<std::uint32_t>(settings.m_vRankingFlags.size()));
  for (std::int32_t flag : settings.m_vRankingFlags) f.WriteValue(flag);
  for (cEdScreenOutRule& rule : settings.m_aScreenOut) rule.Save(f);
  SaveRecordList(f, m_vPaletteBlocks);
  SaveRecordList(f, m_vPaletteCharas);
  SaveRecordList(f, m_vPaletteItems);
  SavePlacedList(f, m_vPlacedBlocks);
  SavePlacedList(f, m_vPlacedCharas);
  SavePlacedList(f, m_vPlacedItems);
  SaveRecordList(f, settings.m_vBackgrounds);
  SaveRecordList(f, settings.m_vStageStrings);
  f.WriteU32(STAGE_END_MARKER);
}

void cEdStage::VisitTail(cRecordVisitor& visitor) {
  visitor.Values("m_vRankingFlags", m_vRankingFlags.data(), m_vRankingFlags.size());
  visitor.BeginList("m_aScreenOut", m_aScreenOut.size());
  for (cEdScreenOutRule& rule : m_aScreenOut) visitor.Element(rule);
  visitor.EndList();
  VisitRecordList(visitor, "m_vPaletteBlocks", m_vPaletteBlocks);
  VisitRecordList(visitor, "m_vPaletteCharas", m_vPaletteCharas);
  VisitRecordList(visitor, "m_vPaletteItems", m_vPaletteItems);
  VisitRecordList(visitor, "m_vPlacedBlocks", m_vPlacedBlocks);
  VisitRecordList(visitor, "m_vPlacedCharas", m_vPlacedCharas);
  VisitRecordList(visitor, "m_vPlacedItems", m_vPlacedItems);
  VisitRecordList(visitor, "m_vBackgrounds", m_vBackgrounds);
  VisitRecordList(visitor, "m_vStageStrings", m_vStageStrings);
}

void cEdStage::Validate() {
  // Bounded so that the play map's cell indexes and pixel positions fit.
  m_nWidth = std::clamp(m_nWidth, 0, STAGE_MAX_CELLS);
  m_nHeight = std::clamp(m_nHeight, 0, STAGE_MAX_CELLS);
  // 20 x 15 cells is the 640 x 480 view.
  m_nLimitLeft = std::min(m_nLimitLeft, m_nWidth - 20);
  m_nLimitRight = std::min(m_nLimitRight, m_nWidth - 1);
  m_nLimitTop = std::min(m_nLimitTop, m_nHeight - 15);
  m_nLimitBottom = std::min(m_nLimitBottom, m_nHeight - 1);

  SetSpeedLevel(m_nSpeedLevel);

  if (DatabaseIndexOutOfRange(m_nBgm, eDatabaseList::Bgm)) m_nBgm = 0;

  // Ranking kind k reads entry k.
  if (m_vRankingFlags.size() < STAGE_RANKING_KINDS) m_vRankingFlags.resize(STAGE_RANKING_KINDS, 0);

  cPaletteScope palette(nullptr, this);
  FillPaletteList(m_vPaletteBlocks);
  FillPaletteList(m_vPaletteCharas);
  FillPaletteList(m_vPaletteItems);
  ValidateEntryRefs(m_vPaletteBlocks, m_vPaletteCharas, m_vPaletteItems);
  ValidateEntryRefs(m_vPlacedBlocks, m_vPlacedCharas, m_vPlacedItems);
}

void cEdStage::SetSpeedLevel(int nLevel) {
  // Level 0 would mean no sub-steps at all.
  nLevel = std::clamp(nLevel, STAGE_MIN_SPEED_LEVEL, STAGE_MAX_SPEED_LEVEL);
  const bool capped = nLevel >= 11;
  const int b = capped ? nLevel - 10 : nLevel;
  m_nSpeedLevel = nLevel;
  m_nSubSteps = b;
  m_dSubSteps = b;
  m_nSubSteps6 = 6 * b;
  m_dSubStepsSq = static_cast<double>(b) * b;
  m_dMaxSpeed = capped ? 60.0 : 6.0 * b;
  m_nSubSteps8 = 8 * b;
  m_dMaxSpeedStep = m_dMaxSpeed / b;
  m_dGravityStep = m_dGravity / (static_cast<double>(b) * b);
}

std::vector<std::int8_t> cEdStage::HitCheckSteps() const {
  const int b = m_nSubSteps;
  if (b <= 0) return {};
  // Levels beyond 0..5 are not defined: below counts as every sub-step.
  const int n = std::min(m_nHitCheckLevel, 5);
  if (n <= 0) return std::vector<std::int8_t>(static_cast<std::size_t>(b), 1);
  std::vector<std::int8_t> steps(static_cast<std::size_t>(b), 0);
  int set = 0;
  for (int j = 0;; ++j) {
    const int index = j * b / n;
    if (index >= b) break;
    if (!steps[static_cast<std::size_t>(index)]) {
      steps[static_cast<std::size_t>(index)] = 1;
      ++set;
    }
  }
  if (set < n) steps.back() = 1;
  return steps;
}

int cEdStage::FindHero() const {
  for (std::size_t i = 0; i < m_vPlacedCharas.size(); ++i) {
    const cEdChara& chara = m_vPlacedCharas[i];
    if (chara.m_nGraphicNo != 0 && chara.m_nControl == 0) return static_cast<int>(i);
  }
  return -1;
}

void cEdStage::CopyStartState(const cEdStage& from) {
  CopyValues(from);
  m_vBackgrounds = from.m_vBackgrounds;
  m_vStageStrings = from.m_vStageStrings;
  m_aScreenOut = from.m_aScreenOut;
  m_vRankingFlags = from.m_vRankingFlags;
}

void cEdStage::ClearObjectLists() {
  m_vPlacedBlocks.clear();
  m_vPlacedCharas.clear();
  m_vPlacedItems.clear();
  m_vPaletteBlocks.clear();
  m_vPaletteCharas.clear();
  m_vPaletteItems.clear();
}
