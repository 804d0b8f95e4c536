#include "game/objects/actor.h"

#include <algorithm>
#include <limits>

#include "base/checked_access.h"
#include "game/core/numeric.h"
#include "game/objects/shot.h"
#include "game/stage/stage_play.h"
#include "model/database/database.h"
#include "model/definitions/command.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"

namespace {

// Sub-steps of a duration of base + coefficient x n tenths of a second.
int DurationFrames(std::int64_t base, std::int64_t coef, std::int64_t n) {
  return CapToInt((coef * n + base) * g_LoadedStage.m_nSubSteps * 6);
}

// The angle of a straight or charge move, mirrored for an actor facing right.
int MoveAngle(const cEdMove& move, int n, int nFacing) {
  int angle = move.m_nAngleCoef * n + move.m_nAngle;
  if (move.m_bMirrorAngle && nFacing == 1) angle = 360 - angle;
  if (angle >= 360) angle %= 360;
  return angle;
}

void TargetOffset(cCommandInstance& inst, const cEdMove& move, int nFacing) {
  inst.m_nOffsetX = move.m_nTargetCellX * 32 + move.m_nTargetDotX;
  inst.m_nOffsetY = move.m_nTargetCellY * 32 + move.m_nTargetDotY;
  if (nFacing == 1 && move.m_bMirrorX) inst.m_nOffsetX = -inst.m_nOffsetX;
  if (nFacing == 1 && move.m_bMirrorY) inst.m_nOffsetY = -inst.m_nOffsetY;
}

int Param(const cEdCommand& command, std::size_t i) { return i < command.m_vParam.size() ? command.m_vParam[i] : 0; }

// Display frames of a lead-in animation before its first stop frame.
int LeadInLength(int nAnime) {
  const cEdAnime& anime = CheckedAt(g_Database.m_vAnime, nAnime);
  std::int64_t tenths = 0;
  for (const cEdAnimeFrame& frame : anime.m_vFrames) {
    if (frame.m_bHold) break;
    tenths += frame.m_nDuration;
  }
  return CapToInt(6 * tenths);
}

}  // namespace

cActor::cActor()
    : m_vGroupRunning(kFlowGroupCount, 0),
      m_vGroupStopped(kFlowGroupCount, 0),
      m_vGroupStarted(kFlowGroupCount, 0),
      m_vVars(9, 0) {}

cActor::~cActor() { UnlinkAll(); }

void cActor::SetTarget(cActor* pTarget) {
  if (m_pTarget) RemoveAll(m_pTarget->m_vTargetedBy, this);
  m_pTarget = pTarget;
  if (pTarget && std::find(pTarget->m_vTargetedBy.begin(), pTarget->m_vTargetedBy.end(), this) ==
                     pTarget->m_vTargetedBy.end()) {
    pTarget->m_vTargetedBy.push_back(this);
  }
}

void cActor::UnlinkAll() {
  for (cActor* other : m_vTargetedBy) {
    if (other != this && other->m_pTarget == this) other->m_pTarget = nullptr;
  }
  m_vTargetedBy.clear();
  if (m_pTarget) {
    RemoveAll(m_pTarget->m_vTargetedBy, this);
    m_pTarget = nullptr;
  }
  for (cShot* shot : m_vShots) {
    if (shot->m_pShotTarget == this) shot->m_pShotTarget = nullptr;
  }
  m_vShots.clear();
}

double cActor::StopToInertiaDecay(int nStop) { return nStop * 0.01 / g_LoadedStage.m_dSubStepsSq; }

void cActor::InitCommon(const cEdChara* pDef, double dSpawnX, double dSpawnY, std::int16_t nLinearIndex) {
  m_nLinearIndex = nLinearIndex;
  UnlinkAll();
  // Every actor aims at the hero first; the hero at itself.
  SetTarget(g_pStageScene->m_pHero);
  m_nFlowSerial = 0;
  m_vGroupRunning.assign(kFlowGroupCount, 0);
  m_vGroupStopped.assign(kFlowGroupCount, 0);
  m_vGroupStarted.assign(kFlowGroupCount, 0);
  m_bGroupStopped = m_bFlowDeleted = 0;
  m_dSpawnX = dSpawnX;
  m_dSpawnY = dSpawnY;

  m_dImpactVX = m_dImpactVY = m_dPrevImpactVY = 0;
  m_bKnockedBack = 0;
  m_bMoveDisabled = m_bMovedByCommand = 0;
  m_nWallSide = -1;
  m_bFalling = 1;
  m_bInAir = m_bJumping = m_bJumpBlocked = m_bJumpRefused = 0;
  m_bHitLeft = m_bHitRight = m_bHitTop = m_bHitBottom = 0;
  m_bRidden = m_bOnCharacter = 0;
  m_nRiddenId = 0;
  m_dRiddenX = m_dRiddenY = m_dRiddenRight = m_dRiddenBottom = 0;
  m_bPinX = m_bPinY = m_nPinX = m_nPinY = 0;
  m_bDying = m_nDyingFrames = 0;
  m_dPrevX = m_dPrevY = m_dPrevRight = m_dPrevBottom = 0;
  m_nHp = m_nSp = 0;
  m_HpGauge = {};
  m_SpGauge = {};
  m_vVars.assign(9, 0);
  m_nFallCount = 0;
  m_vQueuedItemCommands.clear();

  if (pDef) {
    m_Chara = *pDef;
    m_nHp = m_Chara.m_nMaxHP;
    m_nSp = m_Chara.m_nMaxSP;
  }
  m_bScrollSync = m_Chara.m_bScrollSync;
  m_bHidden = 0;
  m_bVanish = 0;
  m_nSight = HblToPixels(static_cast<std::int8_t>(m_Chara.m_nSight));
  m_dInertiaDecay = StopToInertiaDecay(m_Chara.m_nStop);

  m_CharaEffect = cCharaEffectRun{};
  if (m_Chara.m_nCharaEffect != 0) {
    m_CharaEffect.Start(m_Chara.m_nCharaEffect, m_Chara.m_nCharaEffectMode, m_Chara.m_bCharaEffectLoop);
  }
  m_nNoDamage = 0;
  m_NoDamageFrom.clear();
  SetAnimeSet(m_Chara.m_nAnimeSet, true);
  m_Overlays.clear();
}

void cActor::SetBodyBox(bool bBottomAligned, int w, int h) {
  m_BodyBox.m_nOffX = m_BodyBox.m_nBaseOffX = 16 - m_SpriteRect.m_nOffX - w / 2;
  m_BodyBox.m_nOffY = m_BodyBox.m_nBaseOffY =
      bBottomAligned ? 32 - m_SpriteRect.m_nOffY - h : 16 - m_SpriteRect.m_nOffY - h / 2;
  m_BodyBox.m_nWidth = m_BodyBox.m_nBaseWidth = w;
  m_BodyBox.m_nHeight = m_BodyBox.m_nBaseHeight = h;
}

void cActor::AdjustYForScale(int nNew, int nOld) {
  if (nNew == nOld) return;
  const int d = nNew - nOld;
  if (g_SystemData.m_nScaleAnchor != 0) {
    m_dY -= static_cast<double>(m_nBaseHeight * d);
  } else {
    m_dY -= static_cast<double>((m_SpriteRect.m_nBaseDrawH - m_SpriteRect.m_nBaseOffY) * d);
  }
  ConstrainY();
}

void cActor::SetCenterX(int x) {
  const int c = m_SpriteRect.m_nLeft + m_SpriteRect.m_nDrawW / 2;
  m_dX += x - c;
  ConstrainX();
}

void cActor::SetCenterY(int y) {
  const int c = m_SpriteRect.m_nTop + m_SpriteRect.m_nDrawH / 2;
  m_dY += y - c;
  ConstrainY();
}

void cActor::SetCenter(int x, int y) {
  SetCenterX(x);
  SetCenterY(y);
}

void cActor::SetCenterStop(int x, int y, cCommandInstance* pInst) {
  SetCenter(x, y);
  if (pInst) pInst->m_dCmdVX = pInst->m_dCmdVY = 0;
}

void cActor::SetCenterXStop(int x, cCommandInstance* pInst) {
  SetCenterX(x);
  if (pInst) pInst->m_dCmdVX = pInst->m_dCmdVY = 0;
}

void cActor::SetCenterYStop(int y, cCommandInstance* pInst) {
  SetCenterY(y);
  if (pInst) pInst->m_dCmdVX = pInst->m_dCmdVY = 0;
}

void cActor::SetAnimeSet(std::int16_t nSet, bool bForce) {
  if (!bForce && nSet == m_Chara.m_nAnimeSet) return;
  m_Chara.m_nAnimeSet = nSet;
  const cEdAnimeSet& set = CheckedAt(g_Database.m_vAnimeSet, nSet);
  std::vector<FrameTable> sequences;
  sequences.reserve(set.m_vSlots.size());
  for (const cEdAnime& anime : set.m_vSlots) {
    FrameTable table;
    table.reserve(anime.m_vFrames.size() + 1);
    for (const cEdAnimeFrame& frame : anime.m_vFrames) {
      table.push_back({frame.m_nImage, CapToInt(static_cast<std::int64_t>(frame.m_nDuration) * 6), 1});
    }
    table.push_back({ANIME_LOOP, 0, 1});
    sequences.push_back(std::move(table));
  }
  // A set with fewer animations than the one before starts its first.
  m_Anime.Replace(std::move(sequences));
}

void cActor::CopyActorFrom(const cActor& other) {
  if (this == &other) return;
  cGameObject::CopyFrom(other);
  m_pTarget = other.m_pTarget;
  m_vTargetedBy = other.m_vTargetedBy;
  m_vShots = other.m_vShots;
  m_Chara = other.m_Chara;
  m_nFlowSerial = other.m_nFlowSerial;
  m_vFlows = other.m_vFlows;
  m_vGroupRunning = other.m_vGroupRunning;
  m_vGroupStopped = other.m_vGroupStopped;
  m_vGroupStarted = other.m_vGroupStarted;
  m_bGroupStopped = other.m_bGroupStopped;
  m_bFlowDeleted = other.m_bFlowDeleted;
  m_dSpawnX = other.m_dSpawnX;
  m_dSpawnY = other.m_dSpawnY;
  m_bMovedByCommand = other.m_bMovedByCommand;
  m_dImpactVX = other.m_dImpactVX;
  m_dImpactVY = other.m_dImpactVY;
  m_bKnockedBack = other.m_bKnockedBack;
  m_dPrevImpactVY = other.m_dPrevImpactVY;
  m_bMoveDisabled = other.m_bMoveDisabled;
  m_nWallSide = other.m_nWallSide;
  m_bFalling = other.m_bFalling;
  m_bInAir = other.m_bInAir;
  m_bJumping = other.m_bJumping;
  m_bJumpBlocked = other.m_bJumpBlocked;
  m_bJumpRefused = other.m_bJumpRefused;
  m_pFloorCell = other.m_pFloorCell;
  m_nFloorCell = other.m_nFloorCell;
  m_nPrevFloorCell = other.m_nPrevFloorCell;
  m_nMoveTypeGrace = other.m_nMoveTypeGrace;
  m_bPinX = other.m_bPinX;
  m_bPinY = other.m_bPinY;
  m_nPinX = other.m_nPinX;
  m_nPinY = other.m_nPinY;
  m_bDying = other.m_bDying;
  m_nDyingFrames = other.m_nDyingFrames;
  m_bHitLeft = other.m_bHitLeft;
  m_bHitRight = other.m_bHitRight;
  m_bHitTop = other.m_bHitTop;
  m_bHitBottom = other.m_bHitBottom;
  m_bRidden = other.m_bRidden;
  m_bOnCharacter = other.m_bOnCharacter;
  m_nRiderId = other.m_nRiderId;
  m_dRiderX = other.m_dRiderX;
  m_dRiderTop = other.m_dRiderTop;
  m_dRiderRight = other.m_dRiderRight;
  m_dRiderBottom = other.m_dRiderBottom;
  m_nRiddenId = other.m_nRiddenId;
  m_dRiddenX = other.m_dRiddenX;
  m_dRiddenY = other.m_dRiddenY;
  m_dRiddenRight = other.m_dRiddenRight;
  m_dRiddenBottom = other.m_dRiddenBottom;
  m_dPrevX = other.m_dPrevX;
  m_dPrevY = other.m_dPrevY;
  m_dPrevRight = other.m_dPrevRight;
  m_dPrevBottom = other.m_dPrevBottom;
  m_nHp = other.m_nHp;
  m_HpGauge = other.m_HpGauge;
  m_nSp = other.m_nSp;
  m_SpGauge = other.m_SpGauge;
  m_vVars = other.m_vVars;
  m_nNoDamage = other.m_nNoDamage;
  m_NoDamageFrom = other.m_NoDamageFrom;
  m_Overlays = other.m_Overlays;
  m_CharaEffect = other.m_CharaEffect;
  m_bVanish = other.m_bVanish;
  m_nSight = other.m_nSight;
  m_bHidden = other.m_bHidden;
  m_BodyBox = other.m_BodyBox;
  m_ShotBox = other.m_ShotBox;
  m_nFallCount = other.m_nFallCount;
  m_pLandedCell = other.m_pLandedCell;
  m_pLandedCellAtStart = other.m_pLandedCellAtStart;
  m_nFloorEffectCount = other.m_nFloorEffectCount;
  m_bBlockChanged1 = other.m_bBlockChanged1;
  m_bBlockChanged2 = other.m_bBlockChanged2;
  m_bRemove = other.m_bRemove;
  m_vQueuedItemCommands = other.m_vQueuedItemCommands;
  m_nCrushGrace = other.m_nCrushGrace;
  RelinkFlows();
}

void cActor::RelinkFlows() {
  std::vector<cEdFlow>& flows = m_Chara.m_vFlow;
  const std::size_t count = std::min(m_vFlows.size(), flows.size());
  for (std::size_t i = 0; i < count; ++i) {
    cFlowInstance& inst = m_vFlows[i];
    cEdFlow& flow = flows[i];
    inst.m_nIndex = static_cast<std::int32_t>(i);
    inst.m_pFlow = &flow;
    inst.m_vpKeyConditions.clear();
    for (const cEdKeyCondition& key : flow.m_vKeyCondition) inst.m_vpKeyConditions.push_back(&key);
    const std::size_t commands = std::min(inst.m_vCommands.size(), flow.m_vCommand.size());
    for (std::size_t c = 0; c < commands; ++c) inst.m_vCommands[c].m_pCommand = &flow.m_vCommand[c];
  }
}

void cActor::BuildFlows(const std::vector<cEdFlow>& flows, int nFacing, bool bInsert, int nIndex) {
  const std::vector<cEdFlow> source = flows;  // flows may be the own list, which changes below
  const int n = static_cast<int>(source.size());
  std::vector<cEdFlow>& own = m_Chara.m_vFlow;
  int first = 0;
  if (!bInsert) {
    own = source;
    m_vFlows.assign(static_cast<std::size_t>(n), cFlowInstance{});
  } else if (nIndex >= 0 && nIndex < static_cast<int>(own.size())) {
    own.insert(own.begin() + nIndex, source.begin(), source.end());
    m_vFlows.insert(m_vFlows.begin() + nIndex, static_cast<std::size_t>(n), cFlowInstance{});
    first = nIndex;
  } else {
    first = static_cast<int>(m_vFlows.size());
    // Instance i always reads flow i of the own list.
    own.resize(static_cast<std::size_t>(first));
    own.insert(own.end(), source.begin(), source.end());
    m_vFlows.resize(static_cast<std::size_t>(first + n));
  }

  const int b = g_LoadedStage.m_nSubSteps;
  const double u = g_LoadedStage.m_dSubSteps;
  const int li = m_nLinearIndex;
  for (int k = 0; k < n; ++k) {
    const int i = first + k;
    cFlowInstance& inst = m_vFlows[static_cast<std::size_t>(i)];
    cEdFlow& flow = own[static_cast<std::size_t>(i)];
    inst.m_nIndex = i;
    inst.m_pFlow = &flow;
    inst.m_nTrigger = flow.m_nTrigger;
    inst.m_nSerial = m_nFlowSerial;
    m_nFlowSerial = WrapAdd32(m_nFlowSerial, 1);
    inst.m_vpKeyConditions.clear();
    for (const cEdKeyCondition& key : flow.m_vKeyCondition) inst.m_vpKeyConditions.push_back(&key);
    inst.m_vCommands.assign(flow.m_vCommand.size(), cCommandInstance{});
    for (std::size_t c = 0; c < flow.m_vCommand.size(); ++c) {
      cEdCommand& command = flow.m_vCommand[c];
      cCommandInstance& ci = inst.m_vCommands[c];
      ci.m_pCommand = &command;
      ci.m_nTotalFrames = DurationFrames(command.m_nTime, command.m_nTimeCoef, li);
      const cEdMove* move = command.m_pMove.get();
      if (move) {
        ci.m_dMoveSpeed = static_cast<double>(move->m_nSpeedCoef * li + move->m_nSpeed) * 0.1 / u;
        ci.m_nMoveDir = move->m_nDirection;
        // The inertial speed limit, in the units of the speed.
        ci.m_dMaxSpeed = move->m_nMaxSpeed * 0.1 / u;
      }
      switch (move ? static_cast<int>(command.m_nKind) : static_cast<int>(CMD_NONE)) {
        case CMD_MOVE_STRAIGHT:
          ci.m_nMoveAngle = MoveAngle(*move, li, nFacing);
          if (move->m_nPositionMode == 1) TargetOffset(ci, *move, nFacing);
          if (move->m_nTiming) ci.ResolveMoveTiming(command, m_nLinearIndex);
          break;
        case CMD_MOVE_GROUND_TURN:
        case CMD_MOVE_AVOID_OFFSCREEN:
          if (move->m_nTiming) ci.ResolveMoveTiming(command, m_nLinearIndex);
          break;
        case CMD_MOVE_CIRCLE: {
          int base = 0;
          // Turning modes 0/1 and 2/3 are pairs of opposite directions.
          const bool pairMode = ci.m_nMoveDir <= 3;
          if (nFacing == 1 && move->m_bMirrorX) {
            base = 180;
            if (pairMode) ci.m_nMoveDir ^= 1;
          }
          if (move->m_bMirrorY && pairMode) ci.m_nMoveDir ^= 1;
          const int radius = std::clamp(move->m_nRadiusCoef * li + move->m_nRadius, 0, 20);
          ci.m_nMoveRadius = radius * 16 * b;
          ci.m_nStartAngle = (base + move->m_nAngleCoef * li + move->m_nAngle) * b;
          ci.m_nEndAngle = (base + move->m_nDistanceCoef * li + move->m_nDistance) * b;
          const double span = move->m_nDistance > move->m_nAngle ? ci.m_nEndAngle - ci.m_nStartAngle
                                                                   : ci.m_nStartAngle - ci.m_nEndAngle;
          if (move->m_nTiming == 0) {
            // A command of no duration runs once.
            ci.m_dMoveSpeed = span / (ci.m_nTotalFrames < 1 ? 1 : ci.m_nTotalFrames) / u;
          } else if (move->m_nTiming == 1 && ci.m_dMoveSpeed != 0) {
            const int frames = TruncToInt(span / ci.m_dMoveSpeed / u);
            ci.m_nTotalFrames = frames == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max()
                                                                           : std::abs(frames);
          }
          break;
        }
        case CMD_MOVE_CHARGE:
          ci.m_nMoveAngle = MoveAngle(*move, li, nFacing);
          TargetOffset(ci, *move, nFacing);
          if (move->m_nTiming) ci.ResolveMoveTiming(command, m_nLinearIndex);
          break;
        case CMD_MOVE_HOMING:
          TargetOffset(ci, *move, nFacing);
          ci.m_nMoveRadius = CapToInt((static_cast<std::int64_t>(move->m_nRadiusCoef) * li + move->m_nRadius) * b);
          if (move->m_nTiming) ci.ResolveMoveTiming(command, m_nLinearIndex);
          break;
        default: break;
      }
      if (command.m_nKind == CMD_JUMP) {
        const int height = static_cast<std::int8_t>(Param(command, 2));
        ci.m_dMoveSpeed = JumpSpeedForHbl(static_cast<std::int8_t>(height));
        command.m_nTime = Wrap16(JumpTimeForHbl(height));
        ci.m_nTotalFrames = DurationFrames(command.m_nTime, 0, 0);
      }
    }
  }
  if (bInsert) RelinkFlows();

  // Lead-in animations: an animation a command names starts early enough to
  // reach its first stop frame when the command starts.
  for (int k = 0; k < n; ++k) {
    cFlowInstance& inst = m_vFlows[static_cast<std::size_t>(first + k)];
    std::int64_t t = 0;
    for (std::size_t j = 0; j < inst.m_vCommands.size(); ++j) {
      const cCommandInstance& cj = inst.m_vCommands[j];
      const cEdCommand& command = *cj.m_pCommand;
      if (command.m_nAnime != 0 && b > 0) {
        const int length = LeadInLength(command.m_nAnime);
        std::int64_t s = static_cast<std::int64_t>(length) * b;
        bool absorbed = false;
        for (std::size_t back = j; back-- > 0;) {
          const cCommandInstance& earlier = inst.m_vCommands[back];
          if (earlier.m_pCommand->m_bNoWait) continue;
          s -= earlier.m_nTotalFrames;
          if (s <= 0) {
            absorbed = true;
            break;
          }
        }
        ANIMEREQ req;
        req.nAnime = command.m_nAnime;
        req.nHold = Wrap16(command.m_nTime * 6);
        req.bExtendHold = command.m_nKind == CMD_SWORD || command.m_nKind == CMD_JUMP ? 0 : 1;
        if (absorbed) {
          req.nStart = CapToInt(t - static_cast<std::int64_t>(length) * b);
          req.nSkip = 0;
          req.nLength = Wrap16(length);
        } else {
          const int skip = static_cast<int>(std::min<std::int64_t>(s / b, length));
          req.nStart = 0;
          req.nSkip = Wrap16(skip);
          req.nLength = Wrap16(length - skip);
        }
        inst.m_vAnimeRequests.push_back(req);
      }
      if (!command.m_bNoWait) t += cj.m_nTotalFrames;
    }
  }
}
