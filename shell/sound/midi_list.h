// cMidiList: the MIDI channels of the music manager, one MIDI player per
// channel (null when none). Starting a piece deletes every player first.
#pragma once

#include <memory>
#include <vector>

#include "shell/sound/midi_player.h"

class cMidiList {
 public:
  void Resize(int channels);
  void Clear();
  // Plays path (its extension must be exactly "mid") on channel; 0 when it
  // does not load or no stream could be opened for it.
  int Play(int channel, const char* path, int loop);
  // Stop(flag) on every player: 0 stops and rewinds, 1 pauses.
  void StopAll(int flag);
  std::size_t Size() const { return m_vPlayers.size(); }
  cMidiPlayer* At(int channel) const;

 private:
  std::vector<std::unique_ptr<cMidiPlayer>> m_vPlayers;
};
