// Starting a play: the progress of a new story, and the play of one stage
// file (opened from the title menu, named at start-up, or the next part
// when a stage-file play ends).
#pragma once

#include <string>

// 1 while a stage file named at start-up is played: no life is taken.
extern int g_bFreeStagePlay;

// The lives of g_SaveData as a play starts: unlimited, or the start lives
// of the play mode with one already taken.
void SetStartLives(bool bUnlimited, int nPlayMode);

// The play mode of the play that starts, and whether the project keeps
// rankings in it.
void SetPlayMode(int nPlayMode);

// g_SaveData for the challenge: Challenge.dat, or when it does not load a
// fresh progress with a record for each challenge stage.
void LoadChallengeProgress();

// g_SaveData for a new story: a fresh progress on the world map's start
// cell, round 0, with the story's lives (999999 when unlimited; otherwise
// the start lives, and one less left).
void ResetProgress();

// Reads the stage file (with bFindNewest its highest numbered version) and
// prepares g_SaveData for playing it: a fresh progress, stage and part 1,
// the free stage's lives, the stage key from the path relative to the
// current folder. 1 when loaded, else 0 (the stage left as it was).
int StartStageFile(const std::string& path, int bFindNewest);

// The main window's side of the title's open-stage request: the stage file
// chooser in dialog mode (ChooseStageFile), then StartStageFile. 1 when a
// file was chosen (a failed start has asked the window to close), 0 when
// cancelled. Main thread.
int ServeOpenStageRequest();
