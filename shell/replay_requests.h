// Saving and opening replays from the game: the F1/F2 keys during a play
// save the current or the previous play's replay, and the title menu opens
// a replay file. The dialogs and the file work run on the main thread while
// the requesting thread waits (platform::RunOnMainThread); both logs and
// their snapshots are only touched there during that wait.
#pragma once

#include <string>

// path = a proposed file name for a replay of stageFile (empty for none),
// then the save chooser in user_data\rpl4\; 1 when a path was chosen (a
// program path relative to the current folder).
int ChooseReplaySavePath(std::string& path, const std::string& stageFile);

// Once per frame of the stage states and of the pause loop: F1 held (the
// keyboard's state now) saves the current play's replay, F2 the previous
// one's, after system sound 1. Nothing while a replay plays (nPlayStart, the
// scene manager's play start, is 4) or when the project records none; a log with
// nothing in it plays system sound 3 (at most once in 60 frames) instead of
// asking. 1 when a save was requested (whether or not the player then saved).
int CheckReplaySaveKeys(int nPlayStart);

// The title menu's request: choose a replay file and load it into
// g_ReplayLog, g_LoadedStage, g_PlayStage and g_SaveData; nonzero when a
// replay was loaded.
int RequestReplayOpen();

// The main window's side of the two requests, on the main thread. Save:
// wParam 0 the current play (g_ReplayLog, g_ReplaySaveData), 1 the previous
// one; 1 when saved, 0 when cancelled or not written (the failure was shown
// in a box and the play goes on). A replay that cannot be read asks the main
// window to close and answers 0.
int ServeSaveReplayRequest(int wParam);
int ServeOpenReplayRequest();
