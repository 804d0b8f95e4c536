// The player's own choices, kept next to the project data.
//
// cOptionData (g_OptionData, user_data\Option.dat): palette number, music on
// or off, sound-effect volume step, ranking registration mode and the fixed
// ranking name. Start-up reads it (a missing file leaves the defaults); the
// options screen steps its values and writes it back.
// File: u32 data version, u32 4, the four int32, u32 1, the name.
//
// cBootData (g_Boot, user_data\Boot.dat): the renderer chosen in the start-up
// launcher and whether the launcher is shown again.
// File: u32 data version, u32 2, the two int32, u32 0.
//
// Values are kept as read; a damaged file may hold values outside their
// ranges, so everything that uses one as an index goes through the clamped
// accessors below.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/record/record.h"

// Ranking registration modes.
enum eRankingMode {
  RANKING_MANUAL_ENTER_NAME = 0,  // F3 on the result screen, name typed
  RANKING_MANUAL_FIXED_NAME = 1,  // F3, the options' name
  RANKING_AUTO_ENTER_NAME = 2,    // when the result screen ends, name typed
  RANKING_AUTO_FIXED_NAME = 3,    // when the result screen ends, the options' name
};

constexpr int kRankingModeCount = 4;
constexpr int kVolumeStepCount = 11;
constexpr int kPaletteNumberCount = 24;

// Labels of the ranking registration modes, shown on the options screen.
extern const std::array<const char*, kRankingModeCount> g_astrRankingMode;

// DirectSound volume (hundredths of a decibel) of the sound-effect volume
// steps 0 (silent) to 10 (full).
extern const std::array<std::int32_t, kVolumeStepCount> g_anSoundVolume;

class cOptionData : public cEdRecordOf<cOptionData> {
 public:
  cOptionData();
  void DeclareFields(int nVersion) override;

  // The values within their ranges.
  int PaletteNumber() const;
  bool MusicOn() const { return m_bBgm != 0; }
  int VolumeStep() const;
  int RankingMode() const;
  // The DirectSound volume of the volume step.
  std::int32_t SoundVolume() const;
  const char* RankingModeLabel() const;

  // The options screen's stepping keys: one step up or down, wrapping at the
  // ends of the range.
  void StepPalette(int delta);
  void StepMusic(int delta);
  void StepVolume(int delta);
  void StepRankingMode(int delta);

  std::int32_t m_nPalette = 0;
  std::int32_t m_bBgm = 0;
  std::int32_t m_nVolume = 0;
  std::int32_t m_nRankingMode = 0;
  // The name of modes 1 and 3.
  std::string m_strName;
};

class cBootData : public cEdRecordOf<cBootData> {
 public:
  cBootData();
  void DeclareFields(int nVersion) override;

  // Renderer 1 is Direct3D; any other value DirectDraw.
  bool UsesDirect3D() const { return m_nRenderer == 1; }

  std::int32_t m_nRenderer = 1;
  std::int32_t m_bNoLauncher = 0;
};

extern cOptionData g_OptionData;
extern cBootData g_Boot;
