// One frame of play: the hero's input (live, recorded, or played back from
// a replay), the play time and the time limit, then the stage's sub-steps,
// each in a fixed order: appearance, lifetimes, block characters, the
// hero, the other characters, shots, screen-out removal, floor items, hits
// and pick-ups. The first event that ends the play stops the frame.
#include "base/close_request.h"
#include "base/input_state.h"
#include "base/report.h"
#include "base/requests.h"
#include "base/timer.h"
#include "model/definitions/flow.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "scenes/front_end/play_start.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_scene.h"
#include "shell/replay_requests.h"

namespace {

enum { SOUND_HERO_DEATH = 8, SOUND_CHARACTER_DEATH = 9 };
enum eMoveResult { MOVE_REMOVE_X = 4, MOVE_KILLED_Y = 7, MOVE_REMOVE_Y = 8 };

bool IsReplay() { return g_SceneManager.m_nPlayStart == TITLE_REPLAY; }

bool Squeezed(const cActor& actor) {
  return (actor.m_bHitLeft && actor.m_bHitRight) || (actor.m_bHitTop && actor.m_bHitBottom);
}

}  // namespace

void cStageScene::CountPlayTime() {
  if (m_nPlayTime >= kMaxPlayTime) return;
  ++m_nPlayFrames;
  m_nPlayTime = std::min(static_cast<int>(static_cast<long long>(m_nPlayFrames) * 100 / 60), kMaxPlayTime);
}

int cStageScene::CountDownTime(int nDelta) {
  if (m_bTimeStop || !StepCounter(1, 60)) return 0;
  m_nTimeLeft += nDelta;
  if (m_nTimeLeft > 999) {
    m_nTimeLeft = 999;
    return 0;
  }
  if (m_nTimeLeft <= 0) {
    m_nTimeLeft = 0;
    return 1;
  }
  return 0;
}

bool cStageScene::TakeInput() {
  cInputState& input = g_InputStates.at(0);
  if (IsReplay()) {
    input.ClearDirection();
    input.ClearButtons();
    std::int16_t frame[2] = {0, 0};
    if (g_ReplayLog.PlayFrame(frame) != 0) {
      // The replay is over: it starts again from the stage's start.
      g_SaveData.RestoreStageSnapshot(1, g_SceneManager.m_nPlayMode, g_bFreeStagePlay);
      SetStage(1, 1);
      m_nState = STAGE_START;
      return false;
    }
    input.wDir = static_cast<std::uint16_t>(frame[0]);
    input.wButton = static_cast<std::uint16_t>(frame[1]);
    input.nDirection = cInputState::GetDirection(&input.wDir);
  } else {
    if (input.wButton == 0) {
      m_bHoldButtons = 0;
    } else if (m_bHoldButtons) {
      input.wButton = 0;
    }
  }
  input.PushHistory();
  input.UpdateKeyLogs();
  if (!IsReplay() && g_SystemData.m_bRecordReplay) {
    const std::int16_t frame[2] = {static_cast<std::int16_t>(input.wDir), static_cast<std::int16_t>(input.wButton)};
    g_ReplayLog.RecordFrame(frame);
  }
  return true;
}

void cStageScene::Play() {
  if (m_bQuit) {
    RequestMainWindowClose();
    return;
  }
  if (CheckPauseKey()) {
    m_nStep = 0;
    m_nState = STAGE_PAUSE;
    return;
  }
  // A replay save dialog ran: nothing else this frame.
  if (CheckReplaySaveKeys(g_SceneManager.m_nPlayStart)) return;
  ++m_nStageFrame;
  if (!TakeInput()) return;
  CountPlayTime();
  if (CountDownTime(-1) == 1 && m_pHero && !m_pHero->m_bDying) {
    RequestSystemSound(SOUND_HERO_DEATH);
    if (m_pHero->Die() == 1) EndStage();
    return;
  }
  // The other characters' flags are cleared by the first sub-step's walk.
  if (m_pHero) {
    m_pHero->ResetFlowFrameFlags();
    m_pHero->m_bBlockChanged1 = m_pHero->m_bBlockChanged2 = 0;
  }
  // A frame that a sub-step ended early keeps the picture before it.
  const int subSteps = g_LoadedStage.m_nSubSteps;
  for (int k = 1; k <= subSteps; ++k) {
    if (!RunSubStep(k)) return;
  }
  Draw(1, 0, 1, 1);
}

bool cStageScene::HeroIsDying() const { return m_pHero && m_pHero->m_bDying; }

bool cStageScene::KillHero(const char* tag) {
  ErrorLog(tag);
  RequestSystemSound(SOUND_HERO_DEATH);
  if (m_pHero->Die() == 1) EndStage();
  return false;
}

// A character killed by the map or squeezed: false when the frame ends.
// It stays, dying, for its death display (the drawing removes it after),
// unless its death ended the stage.
bool cStageScene::KillCharacter(std::list<cCharacter>::iterator& it) {
  RequestSystemSound(SOUND_CHARACTER_DEATH);
  const int result = HandleDeath(*it);
  if (result == 1) {
    it = EraseCharacter(it);
    return false;
  }
  ++it;
  return result == 0;
}

// The character's flows, moves and collisions; false when the frame ends.
bool cStageScene::StepCharacter(std::list<cCharacter>::iterator& it, bool bBlockPass) {
  cCharacter& chara = *it;
  chara.FireTrigger(TRIGGER_ALWAYS);
  if (chara.RunFlows(false)) {
    if (!bBlockPass && chara.m_bRemove) {
      it = EraseCharacter(it);
      return true;
    }
    const int result = HandleDeath(chara);
    if (g_SystemData.m_bKeepDeadCharas) {
      if (result == 1) {
        it = EraseCharacter(it);
        return false;
      }
      RequestSystemSound(SOUND_CHARACTER_DEATH);
      ++it;
      return result == 0;
    }
    it = EraseCharacter(it);
    return result == 0;
  }
  if (m_bCheckDeaths && CheckDeaths()) return false;
  if (!bBlockPass && chara.m_bOnCharacter) RideCharacter(chara);
  if (chara.MoveX() == MOVE_REMOVE_X) {
    it = EraseCharacter(it);
    return true;
  }
  bool killed = CollideTilesX(chara) == 2;
  if (!killed) {
    chara.ApplyGravity();
    const int moveY = chara.MoveY();
    if (moveY == MOVE_REMOVE_Y) {
      it = EraseCharacter(it);
      return true;
    }
    killed = moveY == MOVE_KILLED_Y || CollideTilesY(chara) == 2;
  }
  if (!bBlockPass && !killed) {
    killed = CollideCharacters(chara) == 2;
    if (!killed) {
      RecheckTilesX(chara);
      RecheckTilesY(chara);
      killed = Squeezed(chara);
    }
  }
  if (killed) return KillCharacter(it);
  chara.DecayImpactX();
  chara.DecayImpactY();
  ++it;
  return true;
}

bool cStageScene::StepHero() {
  cPlayer& hero = m_Player;
  hero.FireTrigger(TRIGGER_ALWAYS);
  if (hero.RunFlows(false)) return KillHero("Dead 0");
  if (m_nEndRequest == 1) {
    EndStage();
    return false;
  }
  if (m_nEndRequest == 2) return KillHero("Dead 0");
  if (m_bCheckDeaths && CheckDeaths()) return false;
  ApplyFloorEffect(hero);
  if (hero.m_bOnCharacter) RideCharacter(hero);
  hero.MoveX();
  KeepPlayerInViewX(hero);
  if (CollideTilesX(hero) == 2) return KillHero("Dead 1");
  KeepPlayerInViewX(hero);
  hero.ApplyGravity();
  if (hero.MoveY() == MOVE_KILLED_Y) return KillHero("Dead 2");
  if (KeepPlayerInViewY(hero) == 2) return KillHero("Dead 3");
  if (CollideTilesY(hero) == 2) return KillHero("Dead 4");
  if (KeepPlayerInViewY(hero) == 2) return KillHero("Dead 5");
  const auto squeezeTest = [&](const char* tag) {
    if (!Squeezed(hero) || hero.m_nCrushGrace != 0) return true;
    ErrorLogF("Player[P1].LRUD = %d,%d,%d,%d", hero.m_bHitLeft, hero.m_bHitRight, hero.m_bHitTop, hero.m_bHitBottom);
    hero.RestorePosition();
    return KillHero(tag);
  };
  if (!squeezeTest("Dead SP")) return false;
  if (CollideCharacters(hero) == 2 && !hero.m_bDying && hero.m_nCrushGrace == 0) return KillHero("Dead 6");
  if ((hero.m_bHitLeft || hero.m_bHitRight) && RecheckTilesX(hero) == 2 && !hero.m_bDying && hero.m_nCrushGrace == 0)
    return KillHero("Dead 7");
  if ((hero.m_bHitTop || hero.m_bHitBottom) && RecheckTilesY(hero) == 2 && !hero.m_bDying && hero.m_nCrushGrace == 0)
    return KillHero("Dead 8");
  if (!squeezeTest("Dead 9")) return false;
  hero.DecayImpactX();
  hero.DecayImpactY();
  return true;
}

bool cStageScene::RunSubStep(int k) {
  m_nSubStep = k;
  ++m_nSubStepCount;
  UpdateAppearance(k == 1);
  const bool heroDying = HeroIsDying();

  // Lifetimes, then the no-damage times, block contacts and positions of
  // the characters that stay, in one walk (an erasure leaves those of the
  // others as they are).
  for (auto it = m_CharacterList.begin(); it != m_CharacterList.end();) {
    if (!heroDying && !it->m_bDying && it->m_nLifeTime != kUnlimitedLifeTime && --it->m_nLifeTime < 0) {
      it = EraseCharacter(it);
      continue;
    }
    it->TickInvincibility();
    it->ClearBlockContacts();
    it->SavePosition();
    ++it;
  }
  if (!heroDying) {
    for (auto it = m_ItemList.begin(); it != m_ItemList.end();) {
      if (it->m_nLifeTime != kUnlimitedLifeTime && --it->m_nLifeTime < 0) {
        m_Player.ForgetTouchedItem(&*it);
        it = m_ItemList.erase(it);
      } else {
        ++it;
      }
    }
  }
  if (m_pHero) {
    m_Player.TickInvincibility();
    m_Player.ClearBlockContacts();
    m_Player.SavePosition();
    m_Player.StorePreviousFacing();
    m_Player.StorePreviousFloor();
  }
  m_ScrollX.Step();
  m_ScrollY.Step();

  const auto acting = [](const cCharacter& chara, bool bBlock) {
    return chara.m_bAppeared && chara.m_bActive && !chara.m_bDying && (chara.m_Chara.m_bBlockChara != 0) == bBlock;
  };
  // Without block characters the block pass has nobody to step.
  if (!heroDying && !m_vBlockCharacters.empty()) {
    for (auto it = m_CharacterList.begin(); it != m_CharacterList.end();) {
      if (!acting(*it, true)) {
        ++it;
        continue;
      }
      if (!StepCharacter(it, true)) return false;
    }
  }
  if (m_pHero && !m_pHero->m_bDying && !StepHero()) return false;
  if (!HeroIsDying()) {
    for (auto it = m_CharacterList.begin(); it != m_CharacterList.end();) {
      if (!acting(*it, false)) {
        ++it;
        continue;
      }
      if (!StepCharacter(it, false)) return false;
    }
  }

  // Shots.
  for (auto it = m_ShotList.begin(); it != m_ShotList.end();) {
    cShot& shot = *it;
    if (shot.UpdateMotion()) {
      it = RemoveShot(it);
      continue;
    }
    shot.ApplyGravity();
    shot.StepY();
    shot.StepX();
    const bool heroShot = m_pHero && shot.m_nOwnerId == m_pHero->m_nId;
    const cEdScreenOutRule& rule = g_LoadedStage.m_aScreenOut[heroShot ? SCREENOUT_PLAYER_SHOT : SCREENOUT_CHARA_SHOT];
    if ((k == 1 && shot.IsOutOfBounds(rule)) || shot.HitsBlock()) {
      it = RemoveShot(it);
    } else {
      ++it;
    }
  }

  if (k == 1 && !HeroIsDying()) {
    // With neither removal on, the walk would read every character for nothing.
    const bool removesCharacters = m_abScreenOutOn[0] || m_abScreenOutOn[1];
    for (auto it = m_CharacterList.begin(); removesCharacters && it != m_CharacterList.end();) {
      const bool block = it->m_Chara.m_bBlockChara != 0;
      const int rule = block ? SCREENOUT_BLOCK_CHARA : SCREENOUT_CHARA;
      if (m_abScreenOutOn[block ? 1 : 0] && it->m_bAppeared && !it->m_bDying &&
          it->IsOutOfBounds(g_LoadedStage.m_aScreenOut[static_cast<std::size_t>(rule)])) {
        it = EraseCharacter(it);
      } else {
        ++it;
      }
    }
    if (m_abScreenOutOn[2]) {
      for (auto it = m_ItemList.begin(); it != m_ItemList.end();) {
        if (it->IsOutOfBounds(g_LoadedStage.m_aScreenOut[SCREENOUT_ITEM])) {
          m_Player.ForgetTouchedItem(&*it);
          it = m_ItemList.erase(it);
        } else {
          ++it;
        }
      }
    }
  }

  if (!HeroIsDying() && m_pHero) {
    const auto settle = [&](int result) {
      if (result == 1) {
        EndStage();
        return false;
      }
      if (result == 2) {
        RequestSystemSound(SOUND_HERO_DEATH);
        if (m_pHero->Die() == 1) EndStage();
        return false;
      }
      return true;
    };
    if (!settle(ApplyFloorItem(m_Player))) return false;
    if (!settle(CheckHits())) return false;
    if (!HeroIsDying() && !settle(PickUpItems(m_Player))) return false;
  }
  return true;
}
