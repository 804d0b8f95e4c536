// The stage scene's objects: the hero, the placed characters and items,
// summons while the stage runs, the team lists and erasing a character.
#include "model/stage/stage.h"
#include "scenes/stage_scene.h"

void cStageScene::ClearObjects() {
  m_vTeamCharacter.assign(kTeamCount, {});
  m_pHero = nullptr;
}

void cStageScene::PlaceHero() {}

void cStageScene::SpawnPlacedObjects() {}

void cStageScene::FillTeamLists() {}

void cStageScene::FireStartTriggers() {}

void cStageScene::AddCharacter(double, double, int, int, const cEdShot&, const cEdChara&, int&) {}

void cStageScene::AddItem(double, double, int, const cEdShot&, int, int, int&) {}
