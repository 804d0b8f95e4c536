// The workers of the item commands that are not built yet: each does
// nothing until its real one replaces it here, so that the item-command
// table links and an item's other commands run.
#include "game/commands/command_workers.h"

void ExecMessage(cActor*, const cEdCommand&, int) {}
void ExecGameWait(cActor*, const cEdCommand&) {}
void ExecSetTarget(cActor*, const cEdCommand&) {}
void ExecStatusOperation2(cActor*, const cEdCommand&) {}
int ExecGetItem(cActor*, const cEdCommand&) { return 0; }
void ExecShowPicture(cActor*, const cEdCommand&) {}
void ExecChangeScreenColor(cActor*, const cEdCommand&) {}
