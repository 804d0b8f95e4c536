// The sound table start-up fills before loading the sounds: the project's
// system sounds in slots 0 to 16, then Sound.dat entries 1 onwards in slots
// 17 onwards (entry 0 of Sound.dat is "none" and never loaded). The table
// always holds the 17 system slots, even for an empty Sound.dat.
#pragma once

#include <string>
#include <vector>

#include "shell/sound/sound_effects.h"

class cEdSound;

constexpr int SYSTEM_SOUND_COUNT = 17;

// Every slot: one buffer, volume 0, flag 1. A system sound the settings do
// not name has no file (it stays silent).
void FillSoundTables(const std::vector<std::string>& systemSounds,
                     const std::vector<cEdSound>& soundList, std::vector<SOUNDDATA>& sounds,
                     std::vector<SOUNDDEF>& defs);

// The load volume of the option's sound step (clamped to 0..10): hundredths
// of a decibel, -10000 (silent) to 0.
int SoundVolumeOfOption(int optionVolume);
