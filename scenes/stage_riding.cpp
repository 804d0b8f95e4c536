// Block characters as moving pieces of the map: actors stand on them and
// ride along, bump their heads, are pushed sideways, and are crushed when
// squeezed. Boxes are inclusive on every edge.
#include <algorithm>
#include <optional>

#include "game/objects/map_cell_run.h"
#include "model/definitions/flow.h"
#include "model/stage/stage.h"
#include "scenes/stage_scene.h"

namespace {

struct sBox {
  double x, y, right, bottom;
};

sBox BoxOf(const cGameObject& o) { return {o.m_dX, o.m_dY, o.m_dRight, o.m_dBottom}; }

bool Overlap(const sBox& a, const sBox& b) {
  return a.x <= b.right && a.right >= b.x && a.y <= b.bottom && a.bottom >= b.y;
}

// The overlap extent of a with b (both overlapping): not the width of the
// intersection when one contains the other.
struct sExtent {
  double width = 0, height = 0;
  bool Empty() const { return width <= 0 || height <= 0; }
};
sExtent ExtentOf(const sBox& a, const sBox& b) {
  if (!Overlap(a, b)) return {};
  sExtent e;
  e.width = a.x < b.x && b.x <= a.right ? a.right - b.x + 1 : b.right - a.x + 1;
  e.height = a.y < b.y && b.y <= a.bottom ? a.bottom - b.y + 1 : b.bottom - a.y + 1;
  return e;
}

bool FliesThrough(const cGameObject& actor) { return actor.m_bFlying && actor.m_nBlockMode == 0; }

// A target of the pass and the block character that set it.
struct sTarget {
  double value = -1;
  const cCharacter* by = nullptr;
  bool Set() const { return by != nullptr; }
};

}  // namespace

bool cStageScene::IsLivingBlockCharacter(const cCharacter& chara, const cGameObject& other) const {
  return chara.m_Chara.m_bBlockChara && chara.m_bAppeared && !chara.m_bDying && &chara != &other;
}

int cStageScene::OverlapsBlockCharacter(const cGameObject& actor, int nExcludedId) {
  if (FliesThrough(actor)) return 0;
  const sBox box = BoxOf(actor);
  for (const cCharacter& chara : m_CharacterList) {
    if (!IsLivingBlockCharacter(chara, actor) || chara.m_nId == actor.m_nId || chara.m_nId == nExcludedId) continue;
    if (Overlap(box, BoxOf(chara))) return 1;
  }
  return 0;
}

cCharacter* cStageScene::FindCharacterById(int nId) {
  for (cCharacter& chara : m_CharacterList)
    if (chara.m_nId == nId) return &chara;
  return nullptr;
}

int cStageScene::RideCharacter(cActor& actor) {
  if (actor.m_bFlying) return 0;
  cCharacter* ridden = FindCharacterById(actor.m_nRiderId);
  if (!ridden) return 0;
  actor.m_dVX += ridden->m_dX - actor.m_dRiderX;
  actor.m_dVY = ridden->m_dY - actor.m_dRiderTop;
  if (!IsStageCharacter(actor)) ridden->FireTrigger(TRIGGER_RIDDEN_BY_PLAYER);
  ridden->FireTrigger(TRIGGER_RIDDEN_BY_CHARACTER);
  return 0;
}

bool cStageScene::IsOnRiddenCharacter(const cActor& actor) {
  const cCharacter* ridden = FindCharacterById(actor.m_nRiderId);
  return ridden && Overlap({actor.m_dX, actor.m_dBottom, actor.m_dRight, actor.m_dBottom + 5}, BoxOf(*ridden));
}

bool cStageScene::IsOnBlockCharacter(const cActor& actor) {
  const sBox strip{actor.m_dX, actor.m_dBottom, actor.m_dRight, actor.m_dBottom + 5};
  for (const cCharacter& chara : m_CharacterList) {
    if (!IsLivingBlockCharacter(chara, actor) || chara.m_nId == actor.m_nRiderId) continue;
    if (Overlap(strip, BoxOf(chara))) return true;
  }
  return false;
}

bool cStageScene::IsBuriedInBlockCharacters(const cActor& actor, double x, double y, double right, double bottom) {
  const auto covered = [&](double px, double py) {
    for (const cCharacter& chara : m_CharacterList) {
      if (!IsLivingBlockCharacter(chara, actor)) continue;
      if (px >= chara.m_dX && px <= chara.m_dRight && py >= chara.m_dY && py <= chara.m_dBottom) return true;
    }
    return false;
  };
  const double now[4][2] = {{actor.m_dX, actor.m_dY}, {actor.m_dRight, actor.m_dY}, {actor.m_dX, actor.m_dBottom - 1},
                            {actor.m_dRight, actor.m_dBottom - 1}};
  const double saved[4][2] = {{x, y}, {right, y}, {x, bottom - 1}, {right, bottom - 1}};
  for (int i = 0; i < 4; ++i) {
    if (!covered(now[i][0], now[i][1]) && !covered(saved[i][0], saved[i][1])) return false;
  }
  return true;
}

void cStageScene::ResolveCharacterAxis(cActor& actor, bool bVertical) {
  sTarget ceiling, landing, left, right;
  const sBox box = BoxOf(actor);
  for (const cCharacter& chara : m_CharacterList) {
    if (!IsLivingBlockCharacter(chara, actor) || ExtentOf(box, BoxOf(chara)).Empty()) continue;
    const sBox other = BoxOf(chara);
    if (bVertical) {
      if (Overlap({box.x + 1, box.y, box.right - 1, box.y}, other)) {
        actor.m_bHitTop = 1;
        if (!ceiling.Set() || other.bottom + 1 > ceiling.value) ceiling = {other.bottom + 1, &chara};
      }
      if (Overlap({box.x + 1, box.bottom, box.right - 1, box.bottom}, other)) {
        actor.m_bHitBottom = 1;
        if (!landing.Set() || other.y - actor.m_nHeight < landing.value) landing = {other.y - actor.m_nHeight, &chara};
      }
    } else {
      if (Overlap({box.x, box.y + 1, box.x, box.bottom - 1}, other)) {
        actor.m_bHitLeft = 1;
        if (!left.Set() || other.right + 1 > left.value) left = {other.right + 1, &chara};
      }
      if (Overlap({box.right, box.y + 1, box.right, box.bottom - 1}, other)) {
        actor.m_bHitRight = 1;
        if (!right.Set() || other.x - actor.m_nWidth < right.value) right = {other.x - actor.m_nWidth, &chara};
      }
    }
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
    if (!(target->by->m_nId == actor.m_nRiderId && actor.m_bOnCharacter)) actor.m_bRidden = 1;
  }
}

int cStageScene::CollideCharacters(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  const sBox start = BoxOf(actor);
  sTarget landing, ceiling, left, right;
  bool touched = false;
  bool landed = false;
  const double d = g_LoadedStage.m_dSubSteps;

  if (actor.m_bFlying) {
    for (const cCharacter& chara : m_CharacterList) {
      const sBox box = BoxOf(actor), other = BoxOf(chara);
      if (!IsLivingBlockCharacter(chara, actor) || !Overlap(box, other)) continue;
      touched = true;
      const sExtent e = ExtentOf(box, other);
      if (e.width > e.height) {
        if (Overlap({box.x + 1, box.y, box.right - 1, box.y}, other)) {
          actor.m_bHitTop = 1;
          if (!ceiling.Set() || other.bottom + 1 > ceiling.value) ceiling = {other.bottom + 1, &chara};
        }
        if (Overlap({box.x + 1, box.bottom, box.right - 1, box.bottom}, other)) {
          actor.m_bHitBottom = 1;
          if (!landing.Set() || other.y - actor.m_nHeight < landing.value) landing = {other.y - actor.m_nHeight, &chara};
        }
      } else {
        if (Overlap({box.x, box.y + 1, box.x, box.bottom - 1}, other)) {
          actor.m_bHitLeft = 1;
          if (!left.Set() || other.right + 1 > left.value) left = {other.right + 1, &chara};
        }
        if (Overlap({box.right, box.y + 1, box.right, box.bottom - 1}, other)) {
          actor.m_bHitRight = 1;
          if (!right.Set() || other.x - actor.m_nWidth < right.value) right = {other.x - actor.m_nWidth, &chara};
        }
      }
    }
    if (touched) actor.FireTrigger(TRIGGER_HIT_BLOCK_CHARACTER);
    if (actor.m_nBlockMode == 2 && (landing.Set() || ceiling.Set() || left.Set() || right.Set())) return 2;
    if (left.Set()) {
      actor.m_dAccelX = 0;
      if (left.by->m_dVX >= 0 || actor.m_dVX < 0) {
        actor.m_dX = left.value;
        actor.m_bRidden = 1;
        actor.ConstrainX();
      } else {
        actor.m_bHitLeft = 0;
        ResolveCharacterAxis(actor, false);
      }
    }
    if (right.Set()) {
      actor.m_dAccelX = 0;
      if (right.by->m_dVX > 0 && actor.m_dVX <= 0) {
        actor.m_bHitRight = 0;
        ResolveCharacterAxis(actor, false);
      } else {
        actor.m_dX = right.value;
        actor.m_bRidden = 1;
        actor.ConstrainX();
      }
    }
    if (ceiling.Set()) {
      actor.m_dAccelY = 0;
      if (ceiling.by->m_dVY >= 0 || actor.m_dVY < 0) {
        actor.m_dY = ceiling.value;
        actor.ConstrainY();
      } else {
        actor.m_bHitTop = 0;
        ResolveCharacterAxis(actor, true);
      }
    }
    if (landing.Set()) {
      actor.m_dAccelY = 0;
      if (landing.by->m_dVY > 0 && actor.m_dVY <= 0) {
        actor.m_bHitBottom = 0;
        ResolveCharacterAxis(actor, true);
        return 0;
      }
      actor.m_dY = landing.value;
      actor.ConstrainY();
    }
  } else {
    const int h2 = actor.m_nHeight / 2, h3 = actor.m_nHeight / 3;
    const auto side = [&](const cCharacter& chara, bool bLeft) {
      const sBox other = BoxOf(chara);
      if (bLeft) {
        actor.m_bHitLeft = 1;
        if (!left.Set() || other.right + 1.5 > left.value) left = {other.right + 1.5, &chara};
      } else {
        actor.m_bHitRight = 1;
        if (!right.Set() || other.x - actor.m_nWidth - 0.5 < right.value) right = {other.x - actor.m_nWidth - 0.5, &chara};
      }
    };
    const auto land = [&](const cCharacter& chara) {
      if (chara.m_dVY < 0) actor.m_bHitBottom = 1;
      const double candidate = chara.m_dY - actor.m_nHeight;
      if (!landing.Set() || candidate < landing.value) {
        landing = {candidate, &chara};
        actor.m_nRiderId = chara.m_nId;
        actor.m_dRiderX = chara.m_dX;
        actor.m_dRiderTop = chara.m_dY;
        actor.m_dRiderRight = chara.m_dRight;
        actor.m_dRiderBottom = chara.m_dBottom;
      }
    };
    for (const cCharacter& chara : m_CharacterList) {
      const sBox box = BoxOf(actor), other = BoxOf(chara);
      if (!IsLivingBlockCharacter(chara, actor) || !Overlap(box, other)) continue;
      touched = true;
      const sBox upper{box.x, box.y, box.right, box.y + h2};
      if (Overlap(upper, other)) {
        const sExtent o1 = ExtentOf(upper, other);
        const sExtent o2 = ExtentOf({actor.m_dPrevX, actor.m_dPrevY, actor.m_dPrevRight, actor.m_dPrevBottom}, other);
        const sExtent o3 = ExtentOf({actor.m_dPrevX, box.y, actor.m_dPrevRight, box.bottom},
                                    {chara.m_dPrevX, chara.m_dPrevY, chara.m_dPrevRight, chara.m_dPrevBottom});
        if (actor.m_dVY > 2 / d && !o3.Empty() && actor.m_dPrevY < chara.m_dPrevY) {
          land(chara);
        } else if ((o1.width - o1.height > 0.4 / d && box.bottom > other.bottom) ||
                   (!o3.Empty() && actor.m_dPrevY > chara.m_dPrevY && o2.Empty())) {
          if (chara.m_dVY > 0) actor.m_bHitTop = 1;
          if (!ceiling.Set() || other.bottom + 1 > ceiling.value) ceiling = {other.bottom + 1, &chara};
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

    // Below the first block character that overlaps the upper half.
    const auto moveBelowUpper = [&]() -> const cCharacter* {
      const sBox upper{actor.m_dX, actor.m_dY, actor.m_dRight, actor.m_dY + h2};
      for (const cCharacter& chara : m_CharacterList) {
        if (!IsLivingBlockCharacter(chara, actor) || ExtentOf(upper, BoxOf(chara)).Empty()) continue;
        actor.m_dAccelY = 0;
        actor.m_bJumping = actor.m_bInAir = actor.m_bFalling = 1;
        actor.m_dVY = chara.m_dVY;
        actor.m_dY = chara.m_dBottom + 1;
        actor.ConstrainY();
        return &chara;
      }
      return nullptr;
    };

    bool skipSides = false;
    if (ceiling.Set() && !landing.Set()) {
      bool blocked = false;
      if (ceiling.by->m_dVY < 0) {
        cGameObject trial = actor;
        trial.m_dY = ceiling.value;
        blocked = trial.OverlapsBlock() || OverlapsBlockCharacter(trial, ceiling.by->m_nId);
      }
      if (!blocked) {
        actor.m_dY = ceiling.value;
        actor.m_bJumping = actor.m_bInAir = actor.m_bFalling = 1;
        actor.m_dAccelY = 0;
        actor.m_dVY = ceiling.by->m_dVY;
        actor.ConstrainY();
        RecheckTilesY(actor);
      }
    } else if (left.Set() && right.Set() && !landing.Set()) {
      moveBelowUpper();
      actor.m_bHitLeft = actor.m_bHitRight = 0;
      skipSides = true;
    }
    if (!skipSides && landing.Set() && !(left.Set() && right.Set())) {
      bool blocked = false;
      if (landing.by->m_dVY > 0) {
        cGameObject trial = actor;
        trial.m_dY = landing.value;
        blocked = trial.OverlapsBlockEx(0);
      }
      if (blocked) {
        actor.m_bOnCharacter = 0;
      } else {
        actor.m_dAccelY = 0;
        if (!actor.m_bOnCharacter) {
          actor.m_bOnCharacter = 1;
          cCharacter& by = const_cast<cCharacter&>(*landing.by);
          if (!IsStageCharacter(actor)) by.FireTrigger(TRIGGER_RIDDEN_BY_PLAYER);
          by.FireTrigger(TRIGGER_RIDDEN_BY_CHARACTER);
        }
        actor.m_dY = landing.value;
        actor.ConstrainY();
        actor.m_dVY = 0;
        actor.m_nFallCount = 0;
        actor.m_bJumping = actor.m_bInAir = actor.m_bKnockedBack = 0;
        if (IsStageCharacter(actor)) {
          actor.m_bFalling = 0;
        } else {
          static_cast<cPlayer&>(actor).m_bNoJumpFloor = 0;
        }
        landed = true;
      }
    }
    if (!skipSides) {
      for (const sTarget* target : {&left, &right}) {
        if (!target->Set()) continue;
        actor.m_dAccelX = 0;
        if (!(target->by->m_nId == actor.m_nRiderId && actor.m_bOnCharacter)) actor.m_bRidden = 1;
        actor.m_dX = target->value;
        actor.ConstrainX();
      }
      if (left.Set() && right.Set() && !landing.Set()) {
        actor.m_dX = start.x;
        actor.ConstrainX();
        if (const cCharacter* above = moveBelowUpper()) {
          if (above->m_dVY > 0) actor.m_bHitTop = 1;
          actor.m_bHitLeft = actor.m_bHitRight = 0;
        }
      }
    }
    if (touched) {
      actor.FireTrigger(TRIGGER_HIT_BLOCK_CHARACTER);
      if (actor.m_bOnCharacter) actor.FireTrigger(TRIGGER_ON_BLOCK_CHARACTER);
    } else if (actor.m_bOnCharacter) {
      actor.FireTrigger(TRIGGER_HIT_BLOCK_CHARACTER);
      actor.FireTrigger(TRIGGER_ON_BLOCK_CHARACTER);
    }
  }

  // Common end.
  if ((actor.m_bHitLeft && actor.m_bHitRight) || (actor.m_bHitTop && actor.m_bHitBottom)) return 2;
  if (IsBuriedInBlockCharacters(actor, start.x, start.y, start.right, start.bottom)) return 2;
  const auto pushOut = [&](std::int32_t flag, double& coord, double step, bool bX) {
    if (!flag) return;
    for (int i = 0; i < 15 && actor.OverlapsBlockEx(0); ++i) {
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
    } else if (const cCharacter* ridden = FindCharacterById(actor.m_nRiderId)) {
      actor.m_nFallCount = 0;
      actor.m_bKnockedBack = 0;
      actor.m_dRiderX = ridden->m_dX;
      actor.m_dRiderTop = ridden->m_dY;
      actor.m_dRiderRight = ridden->m_dRight;
      actor.m_dRiderBottom = ridden->m_dBottom;
    }
  }
  return 0;
}
