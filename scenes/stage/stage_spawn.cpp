// The stage scene's objects: the hero, the placed characters and items,
// summons while the stage runs, the team lists and erasing a character.
//
// A character is made in its place in the list and set up there: it links
// itself to the hero (its first target), so a temporary copy would leave
// the hero holding the address of an object that is gone. A character that
// may not stay is erased again, which drops its links.
#include <algorithm>

#include "base/checked_access.h"
#include "base/report.h"
#include "game/core/numeric.h"
#include "game/flows/flow_instance.h"
#include "game/objects/character.h"
#include "game/objects/player.h"
#include "model/definitions/flow.h"
#include "model/definitions/item.h"
#include "model/definitions/shot.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"
#include "scenes/stage/stage_scene.h"

namespace {

double CellCentre(int nCell, int nMargin) { return (nCell + nMargin) * 32.0 + 16; }

void ShiftBy(cGameObject& object, double dx, double dy) {
  object.m_dX += dx;
  object.m_dY += dy;
  object.m_dRight = object.m_dX + object.m_nWidth - 1;
  object.m_dBottom = object.m_dY + object.m_nHeight - 1;
}

// Lifetimes of summons are in tenths of a second.
int SummonLifeTime(const cEdShot& shot) {
  return CapToInt(static_cast<std::int64_t>(shot.m_nLifetime) * g_LoadedStage.m_nSubSteps6);
}

}  // namespace

void cStageScene::ClearObjects() {
  // Shots first: each leaves the homing list of the actor it aims at.
  m_vTeamShot.assign(kTeamCount, {});
  m_ShotList.clear();
  m_vTeamCharacter.assign(kTeamCount, {});
  m_vBlockCharacters.clear();
  m_CharacterList.clear();
  ++m_nObjectsCleared;
  m_ItemList.clear();
  m_pHero = nullptr;
}

void cStageScene::PlaceHero() {
  const cEdStage& stage = g_LoadedStage;
  const int index = stage.FindHero();
  if (index < 0) return;  // the loader refuses stages without a hero
  const cEdChara& entry = stage.m_vPlacedCharas[static_cast<std::size_t>(index)];
  ErrorLog("A");
  cPlayer& hero = m_Player;
  hero.Init(m_nCharacterSerial++, &entry, CellCentre(entry.m_nCellX, m_ScrollX.m_nMargin),
            CellCentre(entry.m_nCellY, m_ScrollY.m_nMargin));
  hero.PlaceAtTile(entry.m_nCellX, entry.m_nCellY);
  const double dx = entry.LinearX(0, entry.m_nFacing), dy = entry.LinearY(0, entry.m_nFacing);
  ShiftBy(hero, dx, dy);
  hero.m_dPrevX += dx;
  hero.m_dPrevY += dy;
  if (stage.m_bTakeOverStatus) g_SaveData.GetCarriedCounters(0, &hero.m_nHp, &hero.m_nSp);
  hero.m_Anime.Play(hero.m_nFacing == 0 ? 2 : 0, true);
  m_pHero = &hero;
  ErrorLog("B");

  m_ScrollX.m_dPos = hero.m_dX - 320 + hero.m_nWidth / 2;
  m_ScrollY.m_dPos = hero.m_dY - 240 + hero.m_nHeight / 2;
  m_ScrollX.Clamp(1);
  m_ScrollY.Clamp(1);
  hero.UpdateScreenRectForScroll();
  if (hero.m_Chara.m_nSightShape != 0) RebuildSightMask();
}

void cStageScene::SpawnPlacedObjects() {
  const cEdStage& stage = g_LoadedStage;
  std::vector<std::uint8_t> taken(stage.m_vPlacedItems.size(), 0);
  ErrorLog("11");
  for (const cEdChara& entry : stage.m_vPlacedCharas) {
    if (entry.m_nControl != 1) continue;
    if (entry.m_nDropItem == -1) {
      SpawnPlacedCharacter(entry.m_nCellX, entry.m_nCellY, entry, nullptr);
      continue;
    }
    const cEdItem& placed = CheckedAt(stage.m_vPlacedItems, entry.m_nDropItem);
    cItem drop;
    drop.InitFromDefinition(m_nItemSerial++, &placed, true);
    SpawnPlacedCharacter(entry.m_nCellX, entry.m_nCellY, entry, &drop);
    CheckedAt(taken, entry.m_nDropItem) = 1;
  }
  ErrorLog("12");
  for (std::size_t i = 0; i < stage.m_vPlacedItems.size(); ++i) {
    if (taken[i]) continue;
    const cEdItem& placed = stage.m_vPlacedItems[i];
    SpawnPlacedItem(placed.m_nCellX, placed.m_nCellY, placed);
  }
  ErrorLog("C");
}

void cStageScene::SpawnPlacedCharacter(int nColumn, int nRow, const cEdChara& placement, const cItem* pDropItem) {
  for (int i = 0; i <= placement.m_nRepeat; ++i) {
    cCharacter& chara = m_CharacterList.emplace_back();
    chara.Init(m_nCharacterSerial, &placement, pDropItem, CellCentre(nColumn, m_ScrollX.m_nMargin),
               CellCentre(nRow, m_ScrollY.m_nMargin), static_cast<std::int16_t>(i));
    chara.PlaceAtTile(nColumn, nRow);
    ShiftBy(chara, placement.LinearX(i, placement.m_nFacing), placement.LinearY(i, placement.m_nFacing));
    if (!chara.IsInsideArea(true)) {
      // Outside the stage: dropped, and it takes no id.
      m_CharacterList.pop_back();
      continue;
    }
    chara.ConstrainX();
    chara.ConstrainY();
    chara.UpdateScreenRect();
    ++m_nCharacterSerial;
  }
}

void cStageScene::SpawnPlacedItem(int nColumn, int nRow, const cEdItem& placement) {
  cItem& item = m_ItemList.emplace_back();
  item.InitFromDefinition(m_nItemSerial, &placement, false);
  item.PlaceAtCell(nColumn, nRow);
  ShiftBy(item, placement.m_nOffsetX, placement.m_nOffsetY);
  if (!item.IsInsideArea(true)) {
    m_ItemList.pop_back();
    return;
  }
  item.ClampToStageX(2);
  item.ClampToStageY(2);
  item.UpdateScreenRect();
  ++m_nItemSerial;
}

void cStageScene::JoinTeam(cActor& actor) {
  CheckedAt(m_vTeamCharacter, actor.m_nTeam).push_back(&actor);
  // Characters join in list order: placed ones once they are all made,
  // summons as they are added at the end.
  if (IsStageCharacter(actor) && actor.m_Chara.m_bBlockChara)
    m_vBlockCharacters.push_back(static_cast<cCharacter*>(&actor));
}

void cStageScene::FillTeamLists() {
  if (m_pHero) JoinTeam(*m_pHero);
  for (cCharacter& chara : m_CharacterList) JoinTeam(chara);
  ErrorLog("D");
}

void cStageScene::AddCharacter(double x, double y, int nFacing, int nTeam, const cEdShot& shot, const cEdChara& chara,
                               int& nSerial) {
  cEdChara def = chara;
  def.m_nTeam = static_cast<std::uint8_t>(nTeam);
  def.m_nFacing = static_cast<std::uint8_t>(nFacing);
  if (shot.m_bNoScore) def.m_nScore = 0;
  for (int i = 0; i <= def.m_nRepeat; ++i) {
    cCharacter& added = m_CharacterList.emplace_back();
    added.Init(nSerial, &def, nullptr, x + 320 + 16, y + 320 + 16, static_cast<std::int16_t>(i));
    added.m_dX = x + added.m_SpriteRect.m_nBaseOffX;
    added.m_dY = y + added.m_SpriteRect.m_nBaseOffY;
    ShiftBy(added, def.LinearX(i, def.m_nFacing), def.LinearY(i, def.m_nFacing));
    if (!added.IsInsideArea(true)) {
      m_CharacterList.pop_back();
      continue;
    }
    added.ConstrainX();
    added.ConstrainY();
    added.UpdateScreenRect();
    if (IsCharacterBlocked(added)) {
      // It would start inside a block: never made, no id taken.
      m_CharacterList.pop_back();
      continue;
    }
    if (shot.m_bLifetime) added.m_nLifeTime = SummonLifeTime(shot);
    JoinTeam(added);
    ++nSerial;
  }
}

void cStageScene::AddItem(double x, double y, int, const cEdShot& shot, int nItemKind, int nItemIndex, int& nSerial) {
  const cEdItem* def = FindPaletteItem(nItemKind, nItemIndex);
  if (!def) return;
  cItem& item = m_ItemList.emplace_back();
  item.InitFromDefinition(nSerial, def, false);
  item.m_dX = x + item.m_SpriteRect.m_nBaseOffX + def->m_nOffsetX;
  item.m_dY = y + item.m_SpriteRect.m_nBaseOffY + def->m_nOffsetY;
  item.m_dRight = item.m_dX + item.m_nWidth - 1;
  item.m_dBottom = item.m_dY + item.m_nHeight - 1;
  if (!item.IsInsideArea(true)) {
    m_ItemList.pop_back();
    return;
  }
  item.ClampToStageX(2);
  item.ClampToStageY(2);
  if (shot.m_bLifetime) item.m_nLifeTime = SummonLifeTime(shot);
  ++nSerial;
}

std::list<cCharacter>::iterator cStageScene::EraseCharacter(std::list<cCharacter>::iterator node) {
  // Whichever team list holds it: a command may have changed its team.
  for (std::list<cActor*>& team : m_vTeamCharacter) {
    const auto found = std::find(team.begin(), team.end(), static_cast<cActor*>(&*node));
    if (found != team.end()) {
      team.erase(found);
      break;
    }
  }
  if (node->m_Chara.m_bBlockChara) std::erase(m_vBlockCharacters, &*node);
  // The destructor drops the targets and shot links to it.
  return m_CharacterList.erase(node);
}

void cStageScene::FireStartTriggers() {
  if (m_pHero) m_pHero->FireTrigger(TRIGGER_BEFORE_STAGE_START);
  for (auto it = m_CharacterList.begin(); it != m_CharacterList.end();) {
    it->FireTrigger(TRIGGER_BEFORE_STAGE_START);
    if (it->m_bRemove) {
      it = EraseCharacter(it);
    } else if (it->m_nHp <= 0) {
      HandleDeath(*it);
      it = EraseCharacter(it);
    } else {
      ++it;
    }
  }
}
