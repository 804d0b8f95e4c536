// The program's own cMainWindowServices: the name entry and the file
// dialogs, the sound effects and music of the sound table and g_Bgm, the
// graphics layer's dialog mode, and the SDL window's picture (none in a
// headless run). Every sound and music request is also written to the
// transcript of the run ("sound SLOT", "music SLOT FILE", "music stop").
#pragma once

#include "shell/main_window_services.h"

namespace platform {
class SdlWindow;
}

class cPlayerServices : public cMainWindowServices {
 public:
  // window: the game window, or nullptr in a headless run.
  explicit cPlayerServices(platform::SdlWindow* window) : m_pWindow(window) {}

  void RunNameEntryDialog() override;
  int OpenStageFile() override;
  int OpenReplayFile() override;
  int SaveReplayFile(int bPrevious) override;

  int SoundSlotCount() override;
  void PlaySound(int slot) override;
  void PlayBgmRequest(int k, int entry) override;
  void StopBgm() override;

  void DDSetGDIMode(int bOn) override;
  int DDRestoreSurface() override;
  void RepaintWindow() override;
  void HideWindow() override;

 private:
  platform::SdlWindow* m_pWindow;
};
