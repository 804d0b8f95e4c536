// Block characters as moving pieces of the map: actors stand on them and
// ride along, bump their heads, are pushed sideways, and are crushed when
// squeezed. Boxes are inclusive on every edge.
//
// The rider keeps the id and box of the block character it rides
// (m_nRiddenId, m_dRiddenX...) with its riding flag m_bOnCharacter; a
// block character an actor comes to stand on gets m_bRidden with the
// rider's id and box, which its ground-turn move reads. m_bRidden of an
// actor pushed sideways by a block character is its character contact.
#include <algorithm>

#include "model/definitions/flow.h"
#include "model/stage/stage.h"
#include "scenes/stage/stage_scene.h"

namespace {

struct sBox {
  double x, y, right, bottom;
};

sBox BoxOf(const cGameObject& o) { return {o.m_dX, o.m_dY, o.m_dRight, o.m_dBottom}; }
sBox PrevBoxOf(const cActor& a) { return {a.m_dPrevX, a.m_dPrevY, a.m_dPrevRight, a.m_dPrevBottom}; }

bool Overlap(const sBox& a, const sBox& b) {
  return a.x <= b.right && a.right >= b.x && a.y <= b.bottom && a.bottom >= b.y;
}

bool Contains(const sBox& box, double x, double y) {
  return x >= box.x && x <= box.right && y >= box.y && y <= box.bottom;
}

// The overlap extent of a with b: not the width of the intersection when
// one contains the other. Empty when they do not overlap.
struct sExtent {
  double width = 0, height = 0;
  bool Empty() const { return width == 0 && height == 0; }
};

sExtent ExtentOf(const sBox& a, const sBox& b) {
  if (!Overlap(a, b)) return {};
  sExtent e;
  e.width = a.x < b.x && b.x <= a.right ? a.right - b.x + 1 : b.right - a.x + 1;
  e.height = a.y < b.y && b.y <= a.bottom ? a.bottom - b.y + 1 : b.bottom - a.y + 1;
  return e;
}

// The four edges of a box that the contact tests look at.
sBox TopEdge(const sBox& b) { return {b.x + 1, b.y, b.right - 1, b.y}; }
sBox BottomEdge(const sBox& b) { return {b.x + 1, b.bottom, b.right - 1, b.bottom}; }
sBox LeftEdge(const sBox& b) { return {b.x, b.y + 1, b.x, b.bottom - 1}; }
sBox RightEdge(const sBox& b) { return {b.right, b.y + 1, b.right, b.bottom - 1}; }

bool FliesThrough(const cGameObject& actor) { return actor.m_bFlying && actor.m_nBlockMode == 0; }

// The flying pass's answer when the actor was left to the other axis and
// the common end does not run.
constexpr int kSkipCommonEnd = 3;

// A push target of the pass and the block character that set it.
struct sTarget {
  double value = -1;
  cCharacter* pBy = nullptr;
  bool Set() const { return pBy != nullptr; }
  void Raise(double v, cCharacter& by) {
    if (!Set() || v > value) *this = {v, &by};
  }
  void Lower(double v, cCharacter& by) {
    if (!Set() || v < value) *this = {v, &by};
  }
};

// The push targets of a pass: where the actor's edges that touch a block
// character would put it, on one axis at a time.
struct sPushTargets {
  sTarget ceiling, landing, left, right;

  void AddTouches(cActor& actor, const sBox& box, const sBox& other, cCharacter& by, bool bVertical) {
    if (bVertical) {
      if (Overlap(TopEdge(box), other)) {
        actor.m_bHitTop = 1;
        ceiling.Raise(other.bottom + 1, by);
      }
      if (Overlap(BottomEdge(box), other)) {
        actor.m_bHitBottom = 1;
        landing.Lower(other.y - actor.m_nHeight, by);
      }
    } else {
      if (Overlap(LeftEdge(box), other)) {
        actor.m_bHitLeft = 1;
        left.Raise(other.right + 1, by);
      }
      if (Overlap(RightEdge(box), other)) {
        actor.m_bHitRight = 1;
        right.Lower(other.x - actor.m_nWidth, by);
      }
    }
  }
};

void CopyBox(const cGameObject& from, double& x, double& y, double& right, double& bottom) {
  x = from.m_dX;
  y = from.m_dY;
  right = from.m_dRight;
  bottom = from.m_dBottom;
}

}  // namespace

bool cStageScene::IsLivingBlockCharacter(const cCharacter& chara, const cGameObject& other) const {
  return chara.m_Chara.m_bBlockChara && chara.m_bAppeared && !chara.m_bDying && &chara != &other;
}

cCharacter* cStageScene::FindCharacterById(int nId) {
  for (cCharacter& chara : m_CharacterList)
    if (chara.m_nId == nId) return &chara;
  return nullptr;
}

int cStageScene::BoxOverlapsBlockCharacter(double x, double y, double right, double bottom, int nOwnId,
                                           int nExcludedId) {
  const sBox box{x, y, right, bottom};
  for (const cCharacter* block : m_vBlockCharacters) {
    const cCharacter& chara = *block;
    if (!chara.m_Chara.m_bBlockChara || !chara.m_bAppeared || chara.m_bDying) continue;
    if (chara.m_nId == nOwnId || chara.m_nId == nExcludedId) continue;
    if (Overlap(box, BoxOf(chara))) return 1;
  }
  return 0;
}

int cStageScene::OverlapsBlockCharacter(const cGameObject& object, int nExcludedId) {
  if (FliesThrough(object)) return 0;
  return BoxOverlapsBlockCharacter(object.m_dX, object.m_dY, object.m_dRight, object.m_dBottom, object.m_nId,
                                   nExcludedId);
}

int cStageScene::OverlapsBlockCharacterBox(const cGameObject& object) {
  return OverlapsBlockCharacter(object, object.m_nId);
}

int cStageScene::RideCharacter(cActor& actor) {
  if (actor.m_bFlying) return 0;
  cCharacter* ridden = FindCharacterById(actor.m_nRiddenId);
  if (!ridden) return 0;
  actor.m_dVX += ridden->m_dX - actor.m_dRiddenX;
  actor.m_dVY = ridden->m_dY - actor.m_dRiddenY;
  if (!IsStageCharacter(actor)) ridden->FireTrigger(TRIGGER_RIDDEN_BY_PLAYER);
  ridden->FireTrigger(TRIGGER_RIDDEN_BY_CHARACTER);
  return 0;
}

int cStageScene::IsOnRiddenCharacter(const cActor& actor) {
  const cCharacter* ridden = FindCharacterById(actor.m_nRiddenId);
  return ridden && Overlap({actor.m_dX, actor.m_dBottom, actor.m_dRight, actor.m_dBottom + 5}, BoxOf(*ridden));
}

int cStageScene::IsOnBlockCharacter(const cActor& actor) {
  const sBox strip{actor.m_dX, actor.m_dBottom, actor.m_dRight, actor.m_dBottom + 5};
  for (const cCharacter* block : m_vBlockCharacters) {
    const cCharacter& chara = *block;
    if (!IsLivingBlockCharacter(chara, actor) || chara.m_nId == actor.m_nRiddenId) continue;
    if (Overlap(strip, BoxOf(chara))) return 1;
  }
  return 0;
}

int cStageScene::IsBuriedInBlockCharacters(const cActor& actor, double x, double y, double right, double bottom) {
  const auto covered = [&](double px, double py) {
    for (const cCharacter* chara : m_vBlockCharacters) {
      if (IsLivingBlockCharacter(*chara, actor) && Contains(BoxOf(*chara), px, py)) return true;
    }
    return false;
  };
  const double now[4][2] = {{actor.m_dX, actor.m_dY},
                            {actor.m_dRight, actor.m_dY},
                            {actor.m_dX, actor.m_dBottom - 1},
                            {actor.m_dRight, actor.m_dBottom - 1}};
  const double saved[4][2] = {{x, y}, {right, y}, {x, bottom - 1}, {right, bottom - 1}};
  for (int i = 0; i < 4; ++i) {
    if (!covered(now[i][0], now[i][1]) && !covered(saved[i][0], saved[i][1])) return 0;
  }
  return 1;
}

int cStageScene::IsBuriedInBlockCharactersAt(const cActor& actor, double x, double y, double right, double bottom) {
  return IsBuriedInBlockCharacters(actor, x, y, right, bottom);
}

void cStageScene::ResolveCharacterAxis(cActor& actor, bool bVertical) {
  sPushTargets targets;
  auto& [ceiling, landing, left, right] = targets;
  const sBox box = BoxOf(actor);
  for (cCharacter* block : m_vBlockCharacters) {
    cCharacter& chara = *block;
    if (!IsLivingBlockCharacter(chara, actor)) continue;
    const sBox other = BoxOf(chara);
    if (ExtentOf(box, other).Empty()) continue;
    targets.AddTouches(actor, box, other, chara, bVertical);
  }
  for (const sTarget* target : {&ceiling, &landing}) {
    if (!target->Set()) continue;
    actor.m_dY = target->value;
    actor.ConstrainY();
  }
  for (const sTarget* target : {&left, &right}) {
    if (!target->Set()) continue;
    actor.m_dX = target->value;
    actor.ConstrainX();
    if (!IsRiddenPusher(actor, *target->pBy)) actor.m_bRidden = 1;
  }
}

bool cStageScene::IsRiddenPusher(const cActor& actor, const cCharacter& pusher) const {
  return pusher.m_nId == actor.m_nRiddenId && actor.m_bOnCharacter;
}

int cStageScene::CollideFlyingWithCharacters(cActor& actor) {
  sPushTargets targets;
  auto& [ceiling, landing, left, right] = targets;
  bool touched = false;
  for (cCharacter* block : m_vBlockCharacters) {
    cCharacter& chara = *block;
    const sBox box = BoxOf(actor), other = BoxOf(chara);
    if (!IsLivingBlockCharacter(chara, actor) || !Overlap(box, other)) continue;
    touched = true;
    const sExtent e = ExtentOf(box, other);
    targets.AddTouches(actor, box, other, chara, e.width > e.height);
  }
  if (touched) actor.FireTrigger(TRIGGER_HIT_BLOCK_CHARACTER);
  const bool anyTarget = ceiling.Set() || landing.Set() || left.Set() || right.Set();
  if (actor.m_nBlockMode == 2) return anyTarget ? 2 : 0;

  // A target against the way both move is taken as a contact on the other axis.
  if (left.Set()) {
    actor.m_dAccelX = 0;
    if (left.pBy->m_dVX >= 0 || actor.m_dVX < 0) {
      actor.m_dX = left.value;
      actor.m_bRidden = 1;
      actor.ConstrainX();
    } else {
      actor.m_bHitLeft = 0;
      ResolveCharacterAxis(actor, true);
    }
  }
  if (right.Set()) {
    actor.m_dAccelX = 0;
    if (right.pBy->m_dVX > 0 && actor.m_dVX <= 0) {
      actor.m_bHitRight = 0;
      ResolveCharacterAxis(actor, true);
    } else {
      actor.m_dX = right.value;
      actor.m_bRidden = 1;
      actor.ConstrainX();
    }
  }
  if (ceiling.Set()) {
    actor.m_dAccelY = 0;
    if (ceiling.pBy->m_dVY >= 0 || actor.m_dVY < 0) {
      actor.m_dY = ceiling.value;
      actor.ConstrainY();
    } else {
      actor.m_bHitTop = 0;
      ResolveCharacterAxis(actor, false);
    }
  }
  if (landing.Set()) {
    actor.m_dAccelY = 0;
    if (landing.pBy->m_dVY > 0 && actor.m_dVY <= 0) {
      actor.m_bHitBottom = 0;
      ResolveCharacterAxis(actor, false);
      return kSkipCommonEnd;
    }
    actor.m_dY = landing.value;
    actor.ConstrainY();
  }
  return 0;
}

cCharacter* cStageScene::MoveBelowUpperBlockCharacter(cActor& actor) {
  const sBox upper{actor.m_dX, actor.m_dY, actor.m_dRight, actor.m_dY + actor.m_nHeight / 2};
  for (cCharacter* block : m_vBlockCharacters) {
    cCharacter& chara = *block;
    if (!IsLivingBlockCharacter(chara, actor) || ExtentOf(upper, BoxOf(chara)).Empty()) continue;
    actor.m_dAccelY = 0;
    actor.m_bJumpBlocked = actor.m_bJumpRefused = actor.m_bJumping = 1;
    actor.m_dVY = chara.m_dVY;
    actor.m_dY = chara.m_dBottom + 1;
    actor.ConstrainY();
    return &chara;
  }
  return nullptr;
}

bool cStageScene::CollideWalkingWithCharacters(cActor& actor, double dStartX) {
  sTarget ceiling, landing, left, right;
  bool touched = false;
  bool landed = false;
  const double d = g_LoadedStage.m_dSubSteps;
  const int h2 = actor.m_nHeight / 2, h3 = actor.m_nHeight / 3;

  const auto side = [&](cCharacter& chara, bool bLeft) {
    if (bLeft) {
      actor.m_bHitLeft = 1;
      left.Raise(chara.m_dRight + 1.5, chara);
    } else {
      actor.m_bHitRight = 1;
      right.Lower(chara.m_dX - actor.m_nWidth - 0.5, chara);
    }
  };
  const auto land = [&](cCharacter& chara) {
    if (chara.m_dVY < 0) actor.m_bHitBottom = 1;
    const double candidate = chara.m_dY - actor.m_nHeight;
    if (!landing.Set() || candidate < landing.value) {
      landing = {candidate, &chara};
      actor.m_nRiddenId = chara.m_nId;
      CopyBox(chara, actor.m_dRiddenX, actor.m_dRiddenY, actor.m_dRiddenRight, actor.m_dRiddenBottom);
    }
  };

  // Classify each touch as landing, ceiling or side.
  for (cCharacter* block : m_vBlockCharacters) {
    cCharacter& chara = *block;
    const sBox box = BoxOf(actor), other = BoxOf(chara);
    if (!IsLivingBlockCharacter(chara, actor) || !Overlap(box, other)) continue;
    touched = true;
    const sBox upper{box.x, box.y, box.right, box.y + h2};
    if (Overlap(upper, other)) {
      const sExtent o1 = ExtentOf(upper, other);
      const sExtent o2 = ExtentOf(PrevBoxOf(actor), other);
      const sExtent o3 = ExtentOf({actor.m_dPrevX, box.y, actor.m_dPrevRight, box.bottom}, PrevBoxOf(chara));
      if (actor.m_dVY > 2 / d && !o3.Empty() && actor.m_dPrevY < chara.m_dPrevY) {
        land(chara);
      } else if ((o1.width - o1.height > 0.4 / d && box.bottom > other.bottom) ||
                 (!o3.Empty() && actor.m_dPrevY > chara.m_dPrevY && o2.Empty())) {
        if (chara.m_dVY > 0) actor.m_bHitTop = 1;
        ceiling.Raise(other.bottom + 1, chara);
        if (actor.m_bOnCharacter && actor.m_dVY < 0) actor.m_bHitBottom = 1;
      } else {
        const bool leftEdge = Overlap({box.x, box.y, box.x, box.y + h2}, other);
        const bool rightEdge = Overlap({box.right, box.y, box.right, box.y + h2}, other);
        if (actor.m_dVX < 0) {
          if (leftEdge) side(chara, true);
          else if (rightEdge) side(chara, false);
        } else {
          if (rightEdge) side(chara, false);
          else if (leftEdge) side(chara, true);
        }
      }
    } else {
      const sExtent e = ExtentOf(box, other);
      if (e.height <= e.width) {
        if (Overlap({box.x + 1, box.bottom - h3, box.right - 1, box.bottom}, other)) land(chara);
      } else {
        if (Overlap({box.right, box.y, box.right, box.bottom}, other)) side(chara, false);
        if (Overlap({box.x, box.y, box.x, box.bottom}, other)) side(chara, true);
      }
    }
  }

  // Resolve: the ceiling, or the squeeze from both sides, then the landing,
  // then the side pushes.
  bool skipLandingAndSides = false;
  if (ceiling.Set() && !landing.Set()) {
    // A ceiling moving up takes the actor along only where there is room:
    // the trial box runs from the target y down to the present bottom.
    const bool blocked =
        ceiling.pBy->m_dVY < 0 && (TileRectCollides(actor) ||
                                   BoxOverlapsBlockCharacter(actor.m_dX, ceiling.value, actor.m_dRight, actor.m_dBottom,
                                                             actor.m_nId, ceiling.pBy->m_nId));
    if (!blocked) {
      actor.m_dY = ceiling.value;
      actor.m_bJumpBlocked = actor.m_bJumpRefused = actor.m_bJumping = 1;
      actor.m_dAccelY = 0;
      actor.m_dVY = ceiling.pBy->m_dVY;
      actor.ConstrainY();
      RecheckTilesY(actor);
    }
  } else if (left.Set() && right.Set() && !landing.Set()) {
    MoveBelowUpperBlockCharacter(actor);
    actor.m_bHitLeft = actor.m_bHitRight = 0;
    skipLandingAndSides = true;
  }
  if (!skipLandingAndSides && landing.Set() && !(left.Set() && right.Set())) {
    // A platform moving down drops the actor where the map would hold it
    // at the landing y (the actor's present cells).
    if (landing.pBy->m_dVY > 0 && TileRectCollides(actor)) {
      actor.m_bOnCharacter = 0;
    } else {
      cCharacter& platform = *landing.pBy;
      actor.m_dAccelY = 0;
      if (!actor.m_bOnCharacter) {
        actor.m_bOnCharacter = 1;
        platform.m_bRidden = 1;
        platform.m_nRiderId = actor.m_nId;
        CopyBox(actor, platform.m_dRiderX, platform.m_dRiderTop, platform.m_dRiderRight, platform.m_dRiderBottom);
        if (!IsStageCharacter(actor)) platform.FireTrigger(TRIGGER_RIDDEN_BY_PLAYER);
        platform.FireTrigger(TRIGGER_RIDDEN_BY_CHARACTER);
      }
      actor.m_dY = landing.value;
      actor.ConstrainY();
      actor.m_dVY = 0;
      actor.m_nFallCount = 0;
      actor.m_bJumpBlocked = actor.m_bJumpRefused = actor.m_bFalling = actor.m_bKnockedBack = 0;
      if (IsStageCharacter(actor)) {
        actor.m_bJumping = 0;
      } else {
        static_cast<cPlayer&>(actor).m_bNoJumpFloor = 0;
      }
      landed = true;
    }
  }
  if (!skipLandingAndSides) {
    for (const sTarget* target : {&left, &right}) {
      if (!target->Set()) continue;
      actor.m_dAccelX = 0;
      if (!IsRiddenPusher(actor, *target->pBy)) actor.m_bRidden = 1;
      actor.m_dX = target->value;
      actor.ConstrainX();
    }
    if (left.Set() && right.Set() && !landing.Set()) {
      actor.m_dX = dStartX;
      actor.ConstrainX();
      if (const cCharacter* above = MoveBelowUpperBlockCharacter(actor)) {
        if (above->m_dVY > 0) actor.m_bHitTop = 1;
        actor.m_bHitLeft = actor.m_bHitRight = 0;
      }
    }
  }
  if (touched || actor.m_bOnCharacter) {
    actor.FireTrigger(TRIGGER_HIT_BLOCK_CHARACTER);
    if (actor.m_bOnCharacter) actor.FireTrigger(TRIGGER_ON_BLOCK_CHARACTER);
  }
  return landed;
}

int cStageScene::CollideCharacters(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  const sBox start = BoxOf(actor);
  bool landed = false;
  if (actor.m_bFlying) {
    const int result = CollideFlyingWithCharacters(actor);
    if (result == 2) return 2;
    if (result == kSkipCommonEnd) return 0;
  } else {
    landed = CollideWalkingWithCharacters(actor, start.x);
  }

  if ((actor.m_bHitLeft && actor.m_bHitRight) || (actor.m_bHitTop && actor.m_bHitBottom)) return 2;
  if (IsBuriedInBlockCharacters(actor, start.x, start.y, start.right, start.bottom)) return 2;

  // Fine push-out of the map cells, a tenth of a pixel at a time.
  const auto pushOut = [&](std::int32_t bContact, double& coord, double step, bool bX) {
    if (!bContact) return;
    for (int i = 0; i < 15 && TileRectCollides(actor); ++i) {
      coord += step;
      if (bX) actor.ConstrainX();
      else actor.ConstrainY();
    }
  };
  pushOut(actor.m_bHitLeft, actor.m_dX, -0.1, true);
  pushOut(actor.m_bHitRight, actor.m_dX, 0.1, true);
  pushOut(actor.m_bHitTop, actor.m_dY, -0.1, false);
  pushOut(actor.m_bHitBottom, actor.m_dY, 0.1, false);

  if (actor.m_bOnCharacter && !landed) {
    if (actor.m_dImpactVY < 0 || (!IsOnRiddenCharacter(actor) && !IsOnBlockCharacter(actor))) {
      actor.LandOnCharacter(true);
    } else if (const cCharacter* ridden = FindCharacterById(actor.m_nRiddenId)) {
      actor.m_nFallCount = 0;
      actor.m_bKnockedBack = 0;
      CopyBox(*ridden, actor.m_dRiddenX, actor.m_dRiddenY, actor.m_dRiddenRight, actor.m_dRiddenBottom);
    }
  }
  return 0;
}
