// How a run is set up from the environment (never from the command line,
// which is the program's own):
//   PLAYER_HEADLESS=1            no window, no audio device, no dialogs
//   PLAYER_CLOCK=virtual         time advances by what the program sleeps:
//                                every frame takes exactly its frame time
//   PLAYER_INPUT_SCRIPT=file     scripted input (shell/input_script.h)
//   PLAYER_FRAMES=N              close after N presented frames
//   PLAYER_DUMP_FRAME=file.png   the last frame as a picture at the end
//   PLAYER_DUMP_STATE=file.json  the state at the end (shell/state_dump.h)
//   PLAYER_DUMP_DIGESTS=file     while a stage runs, its state digest after
//                                every frame, one line a frame
// (PLAYER_DIALOG_SCRIPT, PLAYER_TRANSCRIPT and PLAYER_AUDIO_CAPTURE are read
// by the platform layer itself.)
// A value that cannot be used (a bad number, an unreadable script) is
// reported and the run does not start.
#pragma once

#include <atomic>
#include <functional>
#include <string>

struct RunSettings {
  bool bHeadless = false;
  bool bVirtualClock = false;
  std::string inputScript;
  int nCloseAfterFrames = 0;  // 0: no limit
  std::string dumpFrame;
  std::string dumpState;
  std::string dumpDigests;
};

// The show-window value the program was started with: PLAYER_SHOW_WINDOW
// (5 for the editor's test play), else 1 (shown normally).
int ShowWindowValue(const std::function<const char*(const char*)>& lookup = nullptr);

// Reads the variables through getenv (or the given lookup, for tests);
// false (reported) when one holds a value that cannot be used.
bool ReadRunSettings(RunSettings& settings,
                     const std::function<const char*(const char*)>& lookup = nullptr);
// Installs the virtual clock and the input script as asked; false when the
// script cannot be used. The virtual clock stays installed for the rest of
// the process.
bool ApplyRunSettings(const RunSettings& settings);

// Counts a presented frame; the Nth (PLAYER_FRAMES) asks the main window to
// close. In a headless run a presented frame counts as shown.
void CountPresentedFrame(const RunSettings& settings);
int PresentedFrameCount();
// A frame has reached the screen (the window presenter calls it after
// showing a frame); the first call fixes FirstFrameMilliseconds.
void NoteFrameShown();
// Milliseconds from the process's start (the kernel's start time, see
// platform/process_start.h) to the first frame shown; -1 before it.
double FirstFrameMilliseconds();
void ResetPresentedFrames();
