// cVox: the Ogg channels of the music manager, one Ogg player (IVox, made
// by the Vox library's CreateVox) per channel; at most one channel plays.
#pragma once

#include <vector>

#include "platform/audio/vox.h"

class cVox {
 public:
  cVox() = default;
  ~cVox() { Release(); }
  cVox(const cVox&) = delete;
  cVox& operator=(const cVox&) = delete;

  // Finds CreateVox; 0, with the error box "oggの初期化に失敗！", when the
  // library or its export is missing.
  int Init();
  // n players in place of the earlier ones; 0 (and the lack of memory
  // reported) when a player cannot be made.
  int Create(int count);
  // Plays path on channel after stopping the current one; 0 for an empty
  // path (nothing changes) or a file that does not load.
  int Play(int channel, const char* path, int loop);
  void Stop();
  // Deletes the players and frees the library: the library's answer, 0 when
  // none was loaded.
  int Release();

  int CurrentChannel() const { return m_nCurrentChannel; }

 private:
  void DeletePlayers();

  std::vector<platform::IVox*> m_apVox;
  int m_nChannels = 0;
  int m_nCurrentChannel = -1;
  platform::HMODULE m_hModule = nullptr;
  platform::CreateVoxFunction m_pCreateVox = nullptr;
};
