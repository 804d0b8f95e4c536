// Plays stages headless, in-process, frame by frame: a project folder
// (written by the test, e.g. the demo project) is loaded as start-up loads
// it, the graphics device, palette and fonts are started, and the scene
// manager runs its frames on a virtual clock with scripted input (the
// keyboard layout of shell/input_script.h: arrows, Z X C V A S D F). The
// main window's requests are recorded (sounds, music), and so are message
// boxes. Digest() is the running stage's state digest (scenes/stage/stage_digest.h).
//
// The test's thread is the game thread and the main thread at once.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "model/stage/stage.h"
#include "scenes/stage/stage_scene.h"
#include "support/front_end_harness.h"
#include "support/scoped_message_boxes.h"
#include "support/scoped_virtual_clock.h"

class StageHarness {
 public:
  // The current folder must be the project's folder.
  explicit StageHarness(const GraphicsMode& mode = kGraphicsModes[3]);
  ~StageHarness();
  StageHarness(const StageHarness&) = delete;
  StageHarness& operator=(const StageHarness&) = delete;

  // The project loaded and the device started; otherwise the reason.
  bool Started() const { return m_strError.empty(); }
  const std::string& Error() const { return m_strError; }

  // Reads the stage file (a program path) as the title's stage-file start
  // does and makes the stage scene the next one; false when it does not load.
  bool StartStageFile(const std::string& path);
  // A stage built in code, played as if loaded from a file.
  void StartStage(const cEdStage& stage);

  // Plays a replay file (a program path) as the title's replay start does;
  // false when it does not load.
  bool StartReplay(const std::string& path);

  // The title's challenge item: the stage list opens next, on the progress
  // of Challenge.dat (a fresh one when it does not load).
  void StartChallenge();
  // The title's new story: the world map opens next, on a fresh progress.
  void StartStory();

  // Saves a stage into the project under a program path, its palette
  // entries checked against the project's common palette.
  static bool SaveStage(const cEdStage& stage, const std::string& path);

  // Scripted input for the frames that follow (shell/input_script.h text,
  // frames counted from the next one as 1); false when it does not parse.
  bool SetInput(const std::string& script);
  // One frame of the scene manager (wait, input, scene change, the scene's
  // frame, presenting).
  void Frame();
  void Frames(int n) {
    for (int i = 0; i < n; ++i) Frame();
  }
  // Frames until the stage scene is in `state` (at most limit); true when it is.
  bool RunUntilState(int state, int limit = 200);
  // Frames until the running scene is of `kind` and faded in, in a state of
  // its own (at most limit); true when it is.
  bool RunUntilScene(int kind, int limit = 300);

  // Keys by their input-script names ("Z", "RIGHT", "SPACE", "F3"): held
  // from the next frame, released at the next frame, or pressed for two
  // frames and released for one.
  void Hold(const std::string& key);
  void Release(const std::string& key);
  void Press(const std::string& key);

  // Frames; the digest of each frame that ended in play, by its stage frame
  // number.
  std::map<int, std::string> PlayDigests(int frames);

  cStageScene* Stage() const;
  // The digest of the running stage; empty when no stage runs.
  std::string Digest() const;

  FrontEndHarness& Window() { return m_Window; }
  const ScopedMessageBoxes& Boxes() const { return m_Boxes; }

 private:
  void Begin();

  ScopedVirtualClock m_Clock;
  ScopedMessageBoxes m_Boxes;
  FrontEndHarness m_Window;
  std::string m_strError;
};
