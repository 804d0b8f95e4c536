// Who hits whom once the objects of a sub-step have moved: shots against
// the actors of other teams, contact damage between actors of different
// teams, shots against shots; the hero's pick-ups; deaths and removals.
//
// Lists are walked with iterators that move on before the element in hand
// is erased, so that a shot that hit or a character that died never leaves
// a loop on a freed node, and the order in which objects are hit stays the
// order of the lists. Death flows and item commands run inside the walks
// may append to the lists (summons, launches); std::list keeps the walk
// valid, and appended objects are met later in the same walk as before.
#include "base/checked_access.h"
#include "base/requests.h"
#include "game/commands/item_command_table.h"
#include "model/definitions/flow.h"
#include "model/definitions/item.h"
#include "model/settings/system_data.h"
#include "model/stage/common_palette.h"
#include "model/stage/stage.h"
#include "scenes/stage/stage_scene.h"

namespace {

enum { SOUND_HIT = 7, SOUND_HERO_DEATH = 8, SOUND_CHARACTER_DEATH = 9 };
constexpr int kShotsPassThrough = 2;

bool Overlap(const sHitBox& a, const sHitBox& b) {
  return a.m_dLeft <= b.m_dRight && a.m_dRight >= b.m_dLeft && a.m_dTop <= b.m_dBottom && a.m_dBottom >= b.m_dTop;
}

bool Overlap(const sHitBox& a, const cGameObject& b) {
  return a.m_dLeft <= b.m_dRight && a.m_dRight >= b.m_dX && a.m_dTop <= b.m_dBottom && a.m_dBottom >= b.m_dY;
}

bool OnlyOnScreen() { return g_LoadedStage.m_bHitOnlyOnScreen != 0; }

bool DoesNoDamage(const cShot& shot) {
  return shot.m_Shot.m_nPower == 0 && shot.m_Shot.m_nImpact == 0 && shot.m_Shot.m_nItemKind == 0;
}

// A shot vanishes on its hit unless it pierces; a sword stays.
bool StaysAfterHit(const cShot& shot) { return !shot.m_bIsShot || shot.m_Shot.m_bPierce != 0; }

bool HurtsOnContact(const cActor& actor) { return actor.m_Chara.m_nPower != 0 || actor.m_Chara.m_nImpact != 0; }

bool Cancellable(const cShot& shot) { return shot.m_Shot.m_bHitShots != 0; }

}  // namespace

int cStageScene::ResolveDeath(cActor& actor) {
  if (!IsStageCharacter(actor)) return 2;
  if (actor.m_bDying) return 0;
  return actor.Die() != 0 ? 1 : 0;
}

int cStageScene::HandleDeath(cActor& actor) {
  const int result = ResolveDeath(actor);
  if (result == 1) {
    EndStage();
  } else if (result == 2) {
    RequestSystemSound(SOUND_HERO_DEATH);
    if (m_pHero->Die() == 1) EndStage();
  }
  return result;
}

int cStageScene::ApplyItemEffect(cItem* pItem, cActor* pHero) {
  if (!pItem || !pHero) return 0;
  const cEdItem& item = pItem->m_Item;
  if (item.m_nGraphicNo == 0 || item.m_nPickup == PICKUP_NEVER || !pItem->m_bAppeared) return 0;
  // The icon pops up over the hero (the scene's player, which pHero is).
  if (item.m_bShowIcon) m_Player.ShowItemIcon(item.m_nGraphicKind, item.m_nGraphicNo, item.m_nGraphicSub);
  RequestDbSound(static_cast<std::int16_t>(item.m_nSound));
  return ::RunItemCommands(*pHero, item.m_vCommand);
}

int cStageScene::CheckShotHits() {
  if (g_LoadedStage.m_nHitCheckLevel != 0 && CheckedAt(m_vHitSchedule, m_nSubStep - 1) == 0) return 0;
  for (int i = 0; i < kTeamCount; ++i) {
    std::list<cShot*>& shots = CheckedAt(m_vTeamShot, i);
    for (int j = 0; j < kTeamCount; ++j) {
      std::list<cActor*>& actors = CheckedAt(m_vTeamCharacter, j);
      if (i == j || shots.empty() || actors.empty()) continue;
      for (auto s = shots.begin(); s != shots.end();) {
        cShot& shot = **s;
        bool remove = false;
        if (!(OnlyOnScreen() && !shot.m_bOnScreen)) {
          for (cActor* pActor : actors) {
            cActor& actor = *pActor;
            if (OnlyOnScreen() && !actor.m_bOnScreen) continue;
            if (!actor.m_bAppeared || actor.m_bDying || actor.m_Chara.m_nInvincible == kShotsPassThrough) continue;
            if (!Overlap(actor.m_ShotBox, shot.m_HitBox) || shot.HasHit(actor)) continue;
            actor.FireTrigger(TRIGGER_HIT_SHOT);
            if (DoesNoDamage(shot) || actor.IsInvincible()) continue;
            if (actor.TakeShotDamage(shot)) {
              if (IsStageCharacter(actor)) RequestSystemSound(SOUND_CHARACTER_DEATH);
              const int result = ResolveDeath(actor);
              if (result != 0) return result;
            } else {
              RequestSystemSound(SOUND_HIT);
              actor.StartInvincibility();
            }
            if (StaysAfterHit(shot)) {
              shot.RecordHit(actor);
            } else {
              remove = true;
            }
            const cEdItem* def = FindPaletteItem(shot.m_Shot.m_nItemKind, shot.m_Shot.m_nItemIndex);
            if (shot.m_Shot.m_nItemKind != 0 && def) {
              cItem item;
              item.InitFromDefinition(0, def, false);
              item.m_bAppeared = 1;
              if (const int result = ApplyItemEffect(&item, m_pHero)) return result;
            }
          }
        }
        if (remove) {
          cShot* gone = *s;
          ++s;
          EraseShot(gone);
        } else {
          ++s;
        }
      }
    }
  }
  return 0;
}

int cStageScene::CheckContactHits() {
  const auto takesPart = [](const cActor& actor) {
    return !(OnlyOnScreen() && !actor.m_bOnScreen) && !actor.m_Chara.m_bBlockChara && actor.m_bAppeared &&
           !actor.m_bDying;
  };
  // The victim's share of a contact: its death, or a no-damage time
  // against the attacker.
  const auto settle = [&](cActor& victim, const cActor& attacker, bool bKilled) {
    if (!bKilled) {
      victim.StartInvincibilityFrom(attacker.m_nId);
      return 0;
    }
    if (IsStageCharacter(victim)) RequestSystemSound(SOUND_CHARACTER_DEATH);
    return ResolveDeath(victim);
  };
  for (int i = 0; i < kTeamCount; ++i) {
    for (int j = i + 1; j < kTeamCount; ++j) {
      std::list<cActor*>& first = CheckedAt(m_vTeamCharacter, i);
      std::list<cActor*>& second = CheckedAt(m_vTeamCharacter, j);
      if (first.empty() || second.empty()) continue;
      for (cActor* pc : first) {
        for (cActor* pr : second) {
          cActor& c = *pc;
          cActor& r = *pr;
          if (!takesPart(c) || !takesPart(r) || !Overlap(c.m_BodyBox, r.m_BodyBox)) continue;
          c.FireTrigger(TRIGGER_HIT_CHARACTER);
          r.FireTrigger(TRIGGER_HIT_CHARACTER);
          bool hitC = false, hitR = false, killedC = false, killedR = false;
          if (HurtsOnContact(r) && !c.IsInvincibleTo(r.m_nId)) {
            killedC = c.TakeContactDamage(r);
            hitC = true;
          }
          if (HurtsOnContact(c) && !r.IsInvincibleTo(c.m_nId)) {
            killedR = r.TakeContactDamage(c);
            hitR = true;
          }
          if (hitC || hitR) RequestSystemSound(SOUND_HIT);
          if (hitC) {
            if (const int result = settle(c, r, killedC)) return result;
          }
          if (hitR) {
            if (const int result = settle(r, c, killedR)) return result;
          }
        }
      }
    }
  }
  return 0;
}

void cStageScene::CheckShotAgainstShot() {
  for (int i = 0; i < kTeamCount; ++i) {
    for (int j = i + 1; j < kTeamCount; ++j) {
      std::list<cShot*>& first = CheckedAt(m_vTeamShot, i);
      std::list<cShot*>& second = CheckedAt(m_vTeamShot, j);
      if (first.empty() || second.empty()) continue;
      for (auto u = first.begin(); u != first.end();) {
        cShot& shotU = **u;
        bool flagU = false;
        for (auto w = second.begin(); w != second.end();) {
          cShot& shotW = **w;
          const bool cancelU = Cancellable(shotU), cancelW = Cancellable(shotW);
          bool destroyW = false;
          if ((cancelU || cancelW) && Overlap(shotU.m_HitBox, shotW.m_HitBox)) {
            if (cancelU && cancelW) {
              // Strengths are unsigned bytes: the weaker goes, both when equal.
              const unsigned strengthU = shotU.m_Shot.m_nShotStrength, strengthW = shotW.m_Shot.m_nShotStrength;
              flagU = flagU || strengthW >= strengthU;
              destroyW = strengthW <= strengthU;
            } else if (cancelU) {
              flagU = true;
            } else {
              destroyW = true;
            }
          }
          cShot* gone = *w;
          ++w;
          if (destroyW) EraseShot(gone);
        }
        cShot* shot = *u;
        ++u;
        if (flagU) EraseShot(shot);
      }
    }
  }
}

void cStageScene::EraseShot(cShot* pShot) {
  for (auto it = m_ShotList.begin(); it != m_ShotList.end(); ++it) {
    if (&*it == pShot) {
      RemoveShot(it);
      return;
    }
  }
}

int cStageScene::CheckHits() {
  if (const int result = CheckShotHits()) return result;
  if (const int result = CheckContactHits()) return result;
  CheckShotAgainstShot();
  return 0;
}

int cStageScene::CheckDeaths() {
  m_bCheckDeaths = 0;
  if (m_pHero && m_pHero->m_nHp <= 0) {
    // A hero already dying stops the frame without dying again.
    if (!m_pHero->m_bDying) {
      RequestSystemSound(SOUND_HERO_DEATH);
      if (m_pHero->Die() == 1) EndStage();
    }
    return 1;
  }
  const bool keepDying = g_SystemData.m_bKeepDeadCharas != 0;
  for (auto it = m_CharacterList.begin(); it != m_CharacterList.end();) {
    if (it->m_bVanish) {
      it = EraseCharacter(it);
      continue;
    }
    // A character kept in its dying state is not killed again.
    if (it->m_nHp > 0 || (keepDying && it->m_bDying)) {
      ++it;
      continue;
    }
    const int result = HandleDeath(*it);
    if (keepDying) {
      if (result == 1) {
        EraseCharacter(it);
        return 1;
      }
      RequestSystemSound(SOUND_CHARACTER_DEATH);
      ++it;
    } else {
      it = EraseCharacter(it);
    }
    if (result != 0) return 1;
  }
  return 0;
}

int cStageScene::PickUpItems(cPlayer& player) {
  for (auto it = m_ItemList.begin(); it != m_ItemList.end();) {
    cItem& item = *it;
    const int pickup = item.m_Item.m_nPickup;
    if (!item.m_bAppeared || item.m_bCarried || pickup == PICKUP_NEVER) {
      ++it;
      continue;
    }
    if (!Overlap(player.m_ItemBox, item)) {
      if (pickup == PICKUP_ALWAYS) player.ForgetTouchedItem(&item);
      ++it;
      continue;
    }
    player.FireTrigger(TRIGGER_HIT_ITEM);
    if (pickup == PICKUP_ALWAYS) {
      if (!player.IsItemUntouched(&item)) {
        ++it;
        continue;
      }
      player.m_TouchedItems.push_back(&item);
    }
    const int result = ApplyItemEffect(&item, &player);
    if (pickup == PICKUP_ONCE) {
      // The hero's touched list never keeps an item that is gone.
      player.ForgetTouchedItem(&item);
      it = m_ItemList.erase(it);
    } else {
      ++it;
    }
    if (result != 0) return result;
  }
  return 0;
}
