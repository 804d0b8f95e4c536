// Block changes of the running map and who stands in a changed cell.
#include "scenes/stage_scene.h"

void cStageScene::ChangeBlock(double, double, int, const cEdShot&, const cEdBlock&) {}

int cStageScene::IsCharacterBlocked(cActor&) { return 0; }
