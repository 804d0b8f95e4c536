// Sound effects: the sound table and the DS_ functions over DirectSound.
//
// Every sound of g_vSound owns its buffers: element 0 holds the wave read
// from its file, the others are duplicates sharing that wave, and each play
// takes the next buffer in turn so that quick repeats overlap. All
// functions do nothing (returning success where they return a flag) while
// sound is off, that is before DS_Init and after DS_Release.
//
// The main thread plays the requested sounds and the game thread the menu
// cursor sounds: every function takes the sound table's lock, so a sound's
// turn of buffers is advanced by one thread at a time. The table is loaded
// before the game thread starts and never resized while sound is on.
// Failures are error-log lines; a sound that did not load plays as silence.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/direct_sound.h"
#include "platform/audio/wave_file.h"

struct WAVEDATA {
  platform::WaveFormat format;
  std::vector<std::uint8_t> pData;
  std::uint32_t dwSize = 0;
};

struct SOUNDDEF {
  std::string szFileName;
  int nBufferCount = 0;
  int nVolume = 0;  // hundredths of a decibel, used when no volume is given at load time
  int nFlag = 0;    // set by start-up, not read here
};

struct SOUNDDATA {
  std::string szFileName;
  // Empty while not loaded; element 0 from the file, the rest duplicates.
  std::vector<std::unique_ptr<platform::DirectSoundBuffer>> lpBuffers;
  int nBufferCount = 0;
  int nNextBuffer = 0;
};

extern std::vector<SOUNDDATA> g_vSound;
extern std::vector<SOUNDDEF> g_vSoundDef;

// Effect volume of the option steps 0 to 10.
extern const int g_anSoundVolumeScale[11];

bool DS_Init(const void* window, int samplesPerSec, int bitsPerSample, int channels);
bool DS_IsOn();
bool DS_ReadWave(const char* path, WAVEDATA* wave);
void DS_FreeWave(WAVEDATA* wave);
bool DS_CreateBuffer(std::unique_ptr<platform::DirectSoundBuffer>* out, const char* path);
bool DS_DuplicateBuffer(std::unique_ptr<platform::DirectSoundBuffer>* out,
                        const platform::DirectSoundBuffer* source);
bool DS_LoadSound(SOUNDDATA* sound, const char* path, int bufferCount, int volume);
int DS_LoadSounds(std::vector<SOUNDDATA>* sounds, std::vector<SOUNDDEF>* defs, int volume);
void DS_Play(SOUNDDATA* sound, unsigned flags);
// relative 1 adds the buffer's current volume. The volume set, 0 when sound
// is off or the buffer is missing.
int DS_SetVolume(SOUNDDATA* sound, int buffer, int volume, int relative);
int DS_GetVolume(SOUNDDATA* sound, int buffer);
// Plays sound index of the loaded table for a cursor move: once when axes
// bit 0 is set and *direction holds left or right, once more when axes bit
// 1 is set and it holds up or down.
void DS_PlayCursorSound(const std::uint16_t* direction, int axes, int index);
void DS_Release();
