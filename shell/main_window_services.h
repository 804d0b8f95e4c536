// What the main window's request handlers call in the other parts of the
// program: dialogs, sound, music, the graphics device.
//
// The window procedure (shell/main_window.h) holds the protocol: which
// request does what, in which order, with which answer, and how a close is
// handled. The work itself is done by these operations, all called on the
// main thread. Start-up installs the program's own; tests install fakes.
// The defaults do nothing and cancel every dialog.
#pragma once

class cMainWindowServices {
 public:
  virtual ~cMainWindowServices() = default;

  // The name-entry dialog, run modally.
  virtual void RunNameEntryDialog() {}
  // The open-stage dialog and the start of the chosen stage: 1 when a file
  // was chosen (a failed start has asked the window to close), 0 when the
  // dialog was cancelled.
  virtual int OpenStageFile() { return 0; }
  // The open-replay dialog and the load of the chosen replay; as above.
  virtual int OpenReplayFile() { return 0; }
  // The save dialog and the save of the current (bPrevious 0) or the
  // previous play's replay; as above.
  virtual int SaveReplayFile(int /*bPrevious*/) { return 0; }

  // Sound effects: the number of slots and playing one.
  virtual int SoundSlotCount() { return 0; }
  virtual void PlaySound(int /*slot*/) {}
  // Music: the scene music k (0 to 3), or for k 4 the stage music entry.
  virtual void PlayBgmRequest(int /*k*/, int /*entry*/) {}
  virtual void StopBgm() {}

  // Graphics: dialog mode on and off, device recovery, showing the last
  // frame again, and hiding the window when it is destroyed (the graphics
  // release still needs it).
  virtual void DDSetGDIMode(int /*bOn*/) {}
  virtual int DDRestoreSurface() { return 1; }
  virtual void RepaintWindow() {}
  virtual void HideWindow() {}
};
