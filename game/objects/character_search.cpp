#include "game/objects/character_search.h"

#include "game/stage/stage_play.h"

cActor* FindCharacterById(int nId) {
  if (!g_pStageScene) return nullptr;
  if (g_pStageScene->m_pHero && g_pStageScene->m_pHero->m_nId == nId) return g_pStageScene->m_pHero;
  for (auto& team : g_pStageScene->m_vTeamCharacter) {
    for (cActor* actor : team) {
      if (actor->m_nId == nId) return actor;
    }
  }
  return nullptr;
}
