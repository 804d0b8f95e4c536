// Who hits whom once the objects of a sub-step have moved: shots against
// the actors of other teams, contact damage between actors of different
// teams, shots against shots; the hero's pick-ups; deaths and removals.
//
// Lists are walked so that erasing the element in hand (a shot that hit, a
// character that died) never touches a freed node, and the order in which
// objects are hit stays the order of the lists.
#include <algorithm>

#include "game/commands/item_command_table.h"
#include "model/definitions/flow.h"
#include "model/definitions/item.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "scenes/stage_scene.h"
#include "shell/checked_access.h"
#include "shell/requests.h"

namespace {

enum { SOUND_HIT = 7, SOUND_HERO_DEATH = 8, SOUND_CHARACTER_DEATH = 9 };
constexpr int kShotsPassThrough = 2;

bool Overlap(double ax, double ay, double ar, double ab, double bx, double by, double br, double bb) {
  return ax <= br && ar >= bx && ay <= bb && ab >= by;
}
bool Overlap(const sHitBox& a, const sHitBox& b) {
  return Overlap(a.m_dLeft, a.m_dTop, a.m_dRight, a.m_dBottom, b.m_dLeft, b.m_dTop, b.m_dRight, b.m_dBottom);
}
bool Overlap(const cGameObject& a, const cGameObject& b) {
  return Overlap(a.m_dX, a.m_dY, a.m_dRight, a.m_dBottom, b.m_dX, b.m_dY, b.m_dRight, b.m_dBottom);
}

bool OnlyOnScreen() { return g_LoadedStage.m_bHitOnlyOnScreen != 0; }

bool DoesNoDamage(const cShot& shot) {
  return shot.m_Shot.m_nPower == 0 && shot.m_Shot.m_nImpact == 0 && shot.m_Shot.m_nItemKind == 0;
}

bool HurtsOnContact(const cActor& actor) { return actor.m_Chara.m_nPower != 0 || actor.m_Chara.m_nImpact != 0; }

}  // namespace

int cStageScene::ResolveDeath(cActor& actor) {
  if (!IsStageCharacter(actor)) return 2;
  if (actor.m_bDying) return 0;
  const int result = actor.Die();
  return result != 0 ? result : 0;
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
  RequestDbSound(static_cast<std::uint16_t>(item.m_nSound));
  m_bItemMessageFollows = 0;
  for (const cEdCommand& command : item.m_vCommand) {
    if (command.m_nKind >= g_ItemCommandTable.size()) continue;  // the loader keeps kinds in range
    if (g_ItemCommandTable[command.m_nKind](pHero, command) != 0) break;
  }
  if (m_nEndRequest == 1) return 1;
  if (pHero->m_nHp < 1) return 2;
  return 0;
}

int cStageScene::CheckShotHits() {
  const int tests = g_LoadedStage.m_nHitCheckLevel;
  if (tests != 0 && (m_nSubStep < 1 || CheckedAt(m_vHitSchedule, m_nSubStep - 1) == 0)) return 0;
  for (int i = 0; i < kTeamCount; ++i) {
    for (int j = 0; j < kTeamCount; ++j) {
      if (i == j || m_vTeamCharacter[static_cast<std::size_t>(j)].empty()) continue;
      std::list<cShot*>& shots = m_vTeamShot[static_cast<std::size_t>(i)];
      for (auto s = shots.begin(); s != shots.end();) {
        cShot& shot = **s;
        bool remove = false;
        if (!(OnlyOnScreen() && !shot.m_bOnScreen)) {
          for (cActor* a : m_vTeamCharacter[static_cast<std::size_t>(j)]) {
            cActor& actor = *a;
            if (OnlyOnScreen() && !actor.m_bOnScreen) continue;
            if (!actor.m_bAppeared || actor.m_bDying || actor.m_Chara.m_nInvincible == kShotsPassThrough) continue;
            if (!Overlap(actor.m_ShotBox, shot.m_HitBox) || shot.HasHit(actor)) continue;
            actor.FireTrigger(TRIGGER_HIT_SHOT);
            if (DoesNoDamage(shot) || actor.IsInvincible()) continue;
            if (actor.TakeShotDamage(shot)) {
              if (IsStageCharacter(actor)) RequestSystemSound(SOUND_CHARACTER_DEATH);
              const int result = ResolveDeath(actor);
              if (result == 1 || result == 2) return result;
            } else {
              RequestSystemSound(SOUND_HIT);
              actor.StartInvincibility();
            }
            if (shot.m_Shot.m_bPierce) {
              shot.RecordHit(actor);
            } else {
              remove = true;
            }
            if (const cEdItem* def = FindPaletteItem(shot.m_Shot.m_nItemKind, shot.m_Shot.m_nItemIndex);
                shot.m_Shot.m_nItemKind != 0 && def) {
              cItem item;
              item.InitFromDefinition(0, def, false);
              item.m_bAppeared = 1;
              if (const int result = ApplyItemEffect(&item, m_pHero)) return result;
            }
          }
        }
        if (remove) {
          cShot* gone = *s;
          s = shots.erase(s);
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
  for (int i = 0; i < kTeamCount; ++i) {
    for (int j = i + 1; j < kTeamCount; ++j) {
      for (cActor* pc : m_vTeamCharacter[static_cast<std::size_t>(i)]) {
        for (cActor* pr : m_vTeamCharacter[static_cast<std::size_t>(j)]) {
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
          for (auto [victim, attacker, hit, killed] :
               {std::tuple{&c, &r, hitC, killedC}, std::tuple{&r, &c, hitR, killedR}}) {
            if (!hit) continue;
            if (killed) {
              if (IsStageCharacter(*victim)) RequestSystemSound(SOUND_CHARACTER_DEATH);
              const int result = ResolveDeath(*victim);
              if (result == 1 || result == 2) return result;
            } else {
              victim->StartInvincibilityFrom(attacker->m_nId);
            }
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
      std::list<cShot*>& first = m_vTeamShot[static_cast<std::size_t>(i)];
      std::list<cShot*>& second = m_vTeamShot[static_cast<std::size_t>(j)];
      for (auto u = first.begin(); u != first.end();) {
        cShot& shotU = **u;
        bool flagU = false;
        for (auto w = second.begin(); w != second.end();) {
          cShot& shotW = **w;
          const bool cancelU = shotU.m_Shot.m_bHitShots != 0, cancelW = shotW.m_Shot.m_bHitShots != 0;
          if ((!cancelU && !cancelW) || !Overlap(shotU, shotW)) {
            ++w;
            continue;
          }
          // Strengths are unsigned bytes.
          const unsigned strengthU = shotU.m_Shot.m_nShotStrength, strengthW = shotW.m_Shot.m_nShotStrength;
          bool destroyW = false;
          if (cancelU && cancelW) {
            if (strengthW >= strengthU) flagU = true;
            if (strengthW <= strengthU) destroyW = true;
          } else if (cancelU) {
            flagU = true;
          } else {
            destroyW = true;
          }
          if (destroyW) {
            cShot* gone = *w;
            w = second.erase(w);
            EraseShot(gone);
          } else {
            ++w;
          }
        }
        if (flagU) {
          cShot* gone = *u;
          u = first.erase(u);
          EraseShot(gone);
        } else {
          ++u;
        }
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
  if (m_pHero && m_pHero->m_nHp <= 0 && !m_pHero->m_bDying) {
    RequestSystemSound(SOUND_HERO_DEATH);
    if (m_pHero->Die() == 1) EndStage();
    return 1;
  }
  const bool keepDying = g_SystemData.m_bKeepDeadCharas != 0;
  for (auto it = m_CharacterList.begin(); it != m_CharacterList.end();) {
    if (it->m_bVanish) {
      it = EraseCharacter(it);
      continue;
    }
    if (it->m_nHp > 0 || it->m_bDying) {
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
    const sHitBox& box = player.m_ItemBox;
    if (!Overlap(box.m_dLeft, box.m_dTop, box.m_dRight, box.m_dBottom, item.m_dX, item.m_dY, item.m_dRight,
                 item.m_dBottom)) {
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
      player.ForgetTouchedItem(&item);
      it = m_ItemList.erase(it);
    } else {
      ++it;
    }
    if (result != 0) return result;
  }
  return 0;
}
