// The dialog of the open-stage request: the stage file chooser in
// data\stg4\, run in dialog mode (shell/dialog_mode.h) on the thread that
// serves the request. Starting the chosen stage is the caller's part.
#pragma once

#include <string>

// 1 with the full program path of the chosen file, 0 when cancelled.
int ChooseStageFile(std::string& path);
