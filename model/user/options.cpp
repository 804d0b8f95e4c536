#include "model/user/options.h"

#include <algorithm>

cOptionData g_OptionData;
cBootData g_Boot;

const std::array<const char*, kRankingModeCount> g_astrRankingMode = {
    "手動登録（登録名入力）",
    "手動登録（登録名固定）",
    "自動登録（登録名入力）",
    "自動登録（登録名固定）",
};

const std::array<std::int32_t, kVolumeStepCount> g_anSoundVolume = {
    -10000, -3000, -2000, -1300, -800, -500, -300, -150, -80, -30, 0,
};

namespace {

// A value of a range of count values, starting at 0, brought into the range.
int Clamped(std::int32_t value, int count) { return std::clamp(value, 0, count - 1); }

// One step of the options screen: wraps at both ends of the range.
void Step(std::int32_t& value, int delta, int count) {
  value = ((Clamped(value, count) + delta) % count + count) % count;
}

}  // namespace

cOptionData::cOptionData() {
  Clear();
  m_strName = "aaa";
}

void cOptionData::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nPalette);
  ED_FIELD(m_bBgm);
  ED_FIELD(m_nVolume);
  ED_FIELD(m_nRankingMode);
  ED_STRING(m_strName);
}

int cOptionData::PaletteNumber() const { return Clamped(m_nPalette, kPaletteNumberCount); }
int cOptionData::VolumeStep() const { return Clamped(m_nVolume, kVolumeStepCount); }
int cOptionData::RankingMode() const { return Clamped(m_nRankingMode, kRankingModeCount); }

std::int32_t cOptionData::SoundVolume() const {
  return g_anSoundVolume[static_cast<std::size_t>(VolumeStep())];
}

const char* cOptionData::RankingModeLabel() const {
  return g_astrRankingMode[static_cast<std::size_t>(RankingMode())];
}

void cOptionData::StepPalette(int delta) { Step(m_nPalette, delta, kPaletteNumberCount); }
void cOptionData::StepMusic(int delta) {
  m_bBgm = MusicOn() ? 1 : 0;
  Step(m_bBgm, delta, 2);
}
void cOptionData::StepVolume(int delta) { Step(m_nVolume, delta, kVolumeStepCount); }
void cOptionData::StepRankingMode(int delta) { Step(m_nRankingMode, delta, kRankingModeCount); }

cBootData::cBootData() {
  Clear();
  m_nRenderer = 1;
}

void cBootData::DeclareFields(int /*nVersion*/) {
  DeclareTwoInts(m_nRenderer, "m_nRenderer", m_bNoLauncher, "m_bNoLauncher");
}
