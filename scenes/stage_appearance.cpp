// Appearance conditions of the stage's objects and the floor blocks that
// act on the hero.
#include <algorithm>

#include "game/objects/actor.h"
#include "scenes/stage_scene.h"

void cStageScene::UpdateAppearance() {
  if (m_pHero) {
    m_pHero->m_bAppeared = 1;
    m_pHero->m_bOnScreen = 1;
  }
  std::fill(m_vViewSwitches.begin(), m_vViewSwitches.end(), 0);
}

int cStageScene::ApplyItemEffect(cItem*, cActor*) { return 0; }
