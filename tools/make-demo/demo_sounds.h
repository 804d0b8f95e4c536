// The demo project's sounds and music: the 17 system sounds and two item
// sounds as short 16-bit waves in wave\, made from tones in code; the title
// and stage music as looping Ogg Vorbis pieces encoded here; the world-map
// music as a two-track MIDI file. The challenge and options slots have no
// file: the player plays no music there.
#pragma once

#include <string>

#include "model/database/database.h"
#include "model/settings/system_data.h"

namespace demo {

// The Bgm.dat entry of the stage music, which every demo stage plays (in a
// loop): entry 0 would stop the music when a stage starts.
constexpr int kStageMusicEntry = 2;

// Registers the files: system sounds in the settings, item sounds in
// Sound.dat and music in Bgm.dat; the settings' scene music slots play the
// title music (title, stage select, options) and the world-map music (world
// map and story menu).
void AddDemoSounds(cDatabase& database, cSystemData& settings);

// Writes the files into the current (project) folder. False, with
// "<file> : <reason>" in error, at the first that cannot be written.
bool WriteDemoSounds(std::string& error);

}  // namespace demo
