#include "game/commands/pause_game.h"

#include "game/stage/stage_play.h"

void PauseGame(const cModalWait& wait) {
  g_pStageScene->m_Wait = {wait.nKind, wait.nDelay, wait.bWaitKey, wait.nFrames, wait.nElapsed};
  g_pStageScene->RunModalWait();
}
