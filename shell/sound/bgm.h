// cBgm: the music manager. A table of music slots, each naming an Ogg
// Vorbis file, a MIDI file or both, played on a channel through the Ogg
// players (cVox) or the MIDI list. A slot of kind 0 tries its Ogg file
// first and falls back to its MIDI file; kind 1 is Ogg only, kind 2 MIDI
// only. Playing the slot already playing goes on unless forced; a failed
// play stops all music and forgets the current slot, so the next request
// for it tries again.
//
// Every operation but Init does nothing (returning success) while the
// manager is off. The name tables belong to the caller (start-up); SetSlot
// writes into them. The options scene starts and ends the manager on the
// game thread while the main thread may stop it: every operation takes the
// manager's lock.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "shell/sound/midi_list.h"
#include "shell/sound/vox.h"

class cBgm {
 public:
  cBgm() = default;
  ~cBgm() { Release(); }
  cBgm(const cBgm&) = delete;
  cBgm& operator=(const cBgm&) = delete;

  int Init(int channels, std::vector<std::string>* oggNames, std::vector<std::string>* midiNames, int slots);
  int SetChannels(int channels);
  int SetSlot(int slot, const char* path);
  // 1 playing (or nothing to do), 0 failed. pauseMidi 1 pauses the MIDI
  // players when Ogg takes over, 0 stops and rewinds them.
  int Play(int channel, int slot, int loop, int pauseMidi, int force);
  void Stop();
  void Release();
  // Release, then with bOn Init: one step under the lock, so that no other
  // thread finds the manager half set up. 1 when it ends as asked.
  int Restart(int bOn, int channels, std::vector<std::string>* oggNames, std::vector<std::string>* midiNames,
              int slots);

  bool IsInit() const;
  int CurrentSlot() const;
  int SlotKind(int slot) const;        // -1 for no such slot
  int ChannelKind(int channel) const;  // 0 nothing, 1 Ogg, 2 MIDI; -1 for no such channel

 private:
  int PlayOgg(int channel, int slot, int loop, int pauseMidi);
  int PlayMidi(int channel, int slot, int loop);
  bool IsSlot(int slot) const;
  bool IsChannel(int channel) const;
  std::string NameOf(const std::vector<std::string>* table, int slot) const;

  mutable std::recursive_mutex m_Mutex;
  int m_bInit = 0;
  cVox m_Vox;
  std::vector<std::string>* m_pOggNames = nullptr;
  cMidiList m_MidiList;
  std::vector<std::string>* m_pMidiNames = nullptr;
  int m_nCurrentSlot = -1;
  std::vector<int> m_vSlotKind;
  std::vector<int> m_vChannelKind;
};

extern cBgm g_Bgm;

// The five slots a game starts with: title, world map, challenge, options
// and stage music, as Ogg ("bgm\Title.ogg" ...) and as MIDI ("bgm\Title.mid" ...).
void SetDefaultBgmNames(std::vector<std::string>& oggNames, std::vector<std::string>& midiNames);
