// The commands that hold the game (game wait, pausing messages, effects and
// pictures) hand the wait to the stage's pause loop and return when it ends.
#pragma once

#include "model/stage/stage_loader.h"

// m_Wait becomes the wait and the game waits, inside this call, for the
// pause loop to run it out.
void PauseGame(const cModalWait& wait);
