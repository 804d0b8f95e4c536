// The searches for a character in a character list, in list order: the
// nearest by the distance |dx| + |dy| between sprite centres (ties keep the
// earlier character), or the first that passes the filters.
//
// A candidate is not dying, matches the character number (bById), and is
// skipped when its m_nId is nExcludedId (bExclude), when shots hit it but
// it is invincible (bSkipShotHit, invincibility setting 1), when shots pass
// through it (bSkipShotPass, setting 2), or when it is a block character.
// The nearest search also needs m_bAppeared; by mode: 0 the nearest on
// screen, else the nearest off screen; 1 the nearest of all; 2 the nearest
// on screen; other modes none. The lists hold actors or pointers to them.
#pragma once

#include <cstdlib>

#include "game/objects/actor.h"
#include "model/stage/stage.h"

namespace character_search {

inline cActor& ActorOf(cActor& actor) { return actor; }
inline cActor& ActorOf(cActor* actor) { return *actor; }

inline bool Passes(const cActor& a, bool bById, int id, bool bExclude, bool bSkipShotHit, bool bSkipShotPass,
                   bool bSkipBlockChara, int nExcludedId) {
  if (a.m_bDying) return false;
  if (bById && a.m_Chara.m_nCharaId != id) return false;
  if (bExclude && a.m_nId == nExcludedId) return false;
  if (bSkipShotHit && a.m_Chara.m_nInvincible == 1) return false;
  if (bSkipShotPass && a.m_Chara.m_nInvincible == 2) return false;
  if (bSkipBlockChara && a.m_Chara.m_bBlockChara) return false;
  return true;
}

}  // namespace character_search

template <class List>
cActor* FindNearestCharacterEx(int x, int y, List& list, int nMode, bool bById, int id, bool bExclude,
                               bool bSkipShotHit, bool bSkipShotPass, bool bSkipBlockChara, int nExcludedId) {
  if (nMode < 0 || nMode > 2) return nullptr;
  cActor* nearestOn = nullptr;
  cActor* nearestOff = nullptr;
  long long bestOn = 0, bestOff = 0;
  for (auto& element : list) {
    cActor& a = character_search::ActorOf(element);
    if (!a.m_bAppeared) continue;
    if (!character_search::Passes(a, bById, id, bExclude, bSkipShotHit, bSkipShotPass, bSkipBlockChara,
                                  nExcludedId)) {
      continue;
    }
    const long long d = std::llabs(static_cast<long long>(a.CenterX()) - x) +
                        std::llabs(static_cast<long long>(a.CenterY()) - y);
    const bool counted = nMode == 1 || a.m_bOnScreen;
    if (counted && (!nearestOn || d < bestOn)) {
      nearestOn = &a;
      bestOn = d;
    } else if (!counted && (!nearestOff || d < bestOff)) {
      nearestOff = &a;
      bestOff = d;
    }
  }
  if (nMode == 0 && !nearestOn) return nearestOff;
  return nearestOn;
}

// Homing never picks a character that shots pass through.
template <class List>
cActor* FindNearestCharacter(int x, int y, List& list) {
  return FindNearestCharacterEx(x, y, list, g_LoadedStage.m_bHitOnlyOnScreen ? 2 : 0, false, 0, false, false, true,
                                false, 0);
}

template <class List>
cActor* FindNearestCharacter(const cGameObject& from, List& list) {
  return FindNearestCharacter(from.CenterX(), from.CenterY(), list);
}

template <class List>
cActor* FindFirstCharacter(List& list, bool bById, int id, bool bExclude, bool bSkipShotHit, bool bSkipShotPass,
                           bool bSkipBlockChara, int nExcludedId) {
  for (auto& element : list) {
    cActor& a = character_search::ActorOf(element);
    if (character_search::Passes(a, bById, id, bExclude, bSkipShotHit, bSkipShotPass, bSkipBlockChara, nExcludedId)) {
      return &a;
    }
  }
  return nullptr;
}

// The hero, then the characters of the running stage's teams, whose object
// id is nId; null when none has it.
cActor* FindCharacterById(int nId);
