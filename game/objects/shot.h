// A launched shot or sword: a game object with a copy of its shot
// definition. This holds what actors read of a shot when it hits them and
// when they die; launching, motion and drawing come with the shots.
#pragma once

#include <cstdint>

#include "game/objects/game_object.h"
#include "game/objects/hit_box.h"
#include "model/definitions/shot.h"

class cActor;

class cShot : public cGameObject {
 public:
  cEdShot m_Shot;
  std::int32_t m_nOwnerId = 0;
  std::int32_t m_bIsShot = 1;  // 1 a shot (pushes along its motion), 0 a sword (pushes by facing)
  sHitBox m_HitBox;
  // The shooter's target, kept by the kinds that aim at or home on it;
  // cleared when that actor dies.
  cActor* m_pShotTarget = nullptr;
};
