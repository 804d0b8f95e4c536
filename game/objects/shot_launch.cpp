#include "game/objects/shot_launch.h"

#include <algorithm>
#include <cmath>

#include "base/checked_access.h"
#include "base/random.h"
#include "game/core/numeric.h"
#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"
#include "model/definitions/command.h"
#include "model/definitions/move.h"
#include "model/settings/system_data.h"
#include "model/stage/common_palette.h"
#include "model/stage/palette_lookup.h"
#include "model/stage/stage.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

enum eSlot {
  SLOT_LEFT = 2,
  SLOT_RIGHT = 3,
  SLOT_UP = 6,
  SLOT_DOWN = 7,
  SLOT_UP_LEFT = 8,
  SLOT_DOWN_LEFT = 9,
  SLOT_UP_RIGHT = 10,
  SLOT_DOWN_RIGHT = 11
};

// What a launch spawns and from where: the shooter's box in stage pixels.
struct sLaunch {
  cActor& shooter;
  int nKind;
  const cEdShot& shot;
  cShotLaunch& launch;
  const cEdBlock* pBlock = nullptr;
  const cEdChara* pChara = nullptr;
  int nItemKind = 0, nItemIndex = 0;
  int L = 0, T = 0, R = 0, B = 0, W = 0, H = 0;
};

int Trunc(double v) { return TruncToInt(v); }
double Rad(double degrees) { return degrees * kPi / 180; }

void VelocityForAngle(cShotLaunch& launch, double angle) {
  launch.dVX = -launch.dSpeed * std::cos(Rad(angle));
  launch.dVY = -launch.dSpeed * std::sin(Rad(angle));
}

void SetVelocity(cShotLaunch& launch, int sx, int sy, bool diagonal) {
  const double s = diagonal ? launch.dSpeed * kInvSqrt2 : launch.dSpeed;
  launch.dVX = sx * s;
  launch.dVY = sy * s;
}

bool IsLeftSlot(int slot) { return slot == SLOT_LEFT || slot == SLOT_UP_LEFT || slot == SLOT_DOWN_LEFT; }
bool IsUpperSlot(int slot) { return slot == SLOT_UP_LEFT || slot == SLOT_UP_RIGHT; }
bool IsDiagonal(int slot) { return slot >= SLOT_UP_LEFT && slot <= SLOT_DOWN_RIGHT; }
int SignX(int slot) { return IsLeftSlot(slot) ? -1 : slot == SLOT_UP || slot == SLOT_DOWN ? 0 : 1; }
int SignY(int slot) {
  return slot == SLOT_UP || IsUpperSlot(slot) ? -1 : slot == SLOT_LEFT || slot == SLOT_RIGHT ? 0 : 1;
}

void SetShooterBox(sLaunch& l) {
  const cStagePlay& stage = *g_pStageScene;
  const int viewX = Trunc(stage.m_ScrollX.m_dPos);
  const int viewY = Trunc(stage.m_ScrollY.m_dPos);
  const cSpriteRect& r = l.shooter.m_SpriteRect;
  l.L = r.m_nLeft + viewX;
  l.R = r.m_nRight + viewX;
  l.T = r.m_nTop + viewY;
  l.B = r.m_nBottom + viewY;
  l.W = r.m_nDrawW;
  l.H = r.m_nDrawH;
}

// The target's sprite centre in stage pixels.
void TargetCentre(const cActor& target, int& x, int& y) {
  const cStagePlay& stage = *g_pStageScene;
  x = target.CenterX() + Trunc(stage.m_ScrollX.m_dPos);
  y = target.CenterY() + Trunc(stage.m_ScrollY.m_dPos);
}

void Spawn(sLaunch& l) {
  cStagePlay& stage = *g_pStageScene;
  cShotLaunch& launch = l.launch;
  const cEdShot& shot = l.shot;
  switch (l.nKind) {
    case CMD_SHOT: {
      cShot temporary;
      temporary.Init(stage.m_nShotSerial, &l.shooter, SHOT_KIND_SHOT, shot, launch);
      cShot& added = stage.AddShotToStage(temporary);
      ++stage.m_nShotSerial;
      const bool keepsTarget = shot.m_nMoveKind == SHOTMOVE_AIM_TARGET || shot.m_nMoveKind == SHOTMOVE_HOME_TARGET;
      if (keepsTarget && added.m_pShotTarget) {
        std::vector<cShot*>& homing = added.m_pShotTarget->m_vShots;
        if (std::find(homing.begin(), homing.end(), &added) == homing.end()) homing.push_back(&added);
      } else {
        added.m_pShotTarget = nullptr;
      }
      // The temporary was never entered in a homing list: it unlinks nothing.
      break;
    }
    case CMD_SUMMON_BLOCK: stage.ChangeBlock(launch.nX, launch.nY, l.shooter.m_nFacing, shot, *l.pBlock); break;
    case CMD_SUMMON_CHARACTER: {
      const int facing = shot.m_bSummonReverse ? (l.shooter.m_nFacing == 1 ? 0 : 1) : l.shooter.m_nFacing;
      const int team = shot.m_nSummonTeam == 0   ? l.pChara->m_nTeam
                       : shot.m_nSummonTeam == 1 ? l.shooter.m_nTeam
                                                 : shot.m_nTeam;
      stage.AddCharacter(launch.nX, launch.nY, facing, team, shot, *l.pChara, stage.m_nShotSerial);
      break;
    }
    case CMD_SUMMON_ITEM:
      stage.AddItem(launch.nX, launch.nY, l.shooter.m_nFacing, shot, l.nItemKind, l.nItemIndex, stage.m_nShotSerial);
      break;
    default: break;
  }
}

// Spawns n objects from the base point, each a row step further.
void SpawnRow(sLaunch& l, int n) {
  cShotLaunch& launch = l.launch;
  launch.nX = launch.nBaseX;
  launch.nY = launch.nBaseY;
  for (int i = 0; i < n; ++i) {
    Spawn(l);
    launch.nX += launch.nRowStepX;
    launch.nY += launch.nRowStepY;
  }
}

void AddOffsets(cShotLaunch& launch) {
  launch.nBaseX += launch.nOffsetX;
  launch.nBaseY += launch.nOffsetY;
}

// The axis-aligned row of the first straight formation: across the
// direction, centred on the shooter. False for a slot without one.
bool AxisOriginA(sLaunch& l) {
  cShotLaunch& launch = l.launch;
  const int n = l.shot.m_nShotCount;
  const int spacing = l.shot.m_anPatternParam[0] * 16;
  const int w = launch.nWidth, h = launch.nHeight;
  const int cx = l.L + l.W / 2, cy = l.T + l.H / 2;
  const int k = l.shot.m_anPatternParam[0] * 8;
  const int m = n - 1;
  const int slot = launch.nDirSlot;
  switch (slot) {
    case SLOT_LEFT:
    case SLOT_RIGHT:
      launch.nBaseX = slot == SLOT_LEFT ? l.L + 1 - w : l.R + 1;
      launch.nBaseY = cy - m * k - n * (h / 2);
      launch.nRowStepX = 0;
      launch.nRowStepY = spacing + h;
      SetVelocity(launch, slot == SLOT_LEFT ? -1 : 1, 0, false);
      break;
    case SLOT_UP:
    case SLOT_DOWN:
      launch.nBaseX = cx - m * k - n * (w / 2);
      launch.nBaseY = slot == SLOT_UP ? l.T - h : l.B + 1;
      launch.nRowStepX = spacing + w;
      launch.nRowStepY = 0;
      SetVelocity(launch, 0, slot == SLOT_UP ? -1 : 1, false);
      break;
    case SLOT_UP_LEFT:
    case SLOT_DOWN_LEFT:
    case SLOT_UP_RIGHT:
    case SLOT_DOWN_RIGHT: {
      const double xl = (1 - l.W / 2 - w / 2) * kInvSqrt2;
      const double xr = (l.R + w / 2 - l.W / 2 - l.L + 1) * kInvSqrt2;
      const double yu = -(l.H / 2 + h / 2) * kInvSqrt2;
      const double yd = (l.B + h / 2 - l.T - l.H / 2 + 1) * kInvSqrt2;
      const bool left = IsLeftSlot(slot), upper = IsUpperSlot(slot);
      // The row runs across the direction: its y grows with x for slots 9
      // and 10, and shrinks for 8 and 11.
      const int across = (left == upper) ? -1 : 1;
      launch.nBaseX = Trunc(cx + (left ? xl : xr) - w / 2);
      launch.nBaseX = Trunc(launch.nBaseX - m * (k + w / 2) * kInvSqrt2);
      launch.nBaseY = Trunc(cy + (upper ? yu : yd) - h / 2);
      launch.nBaseY = Trunc(launch.nBaseY - across * m * (k + h / 2) * kInvSqrt2);
      launch.nRowStepX = Trunc((spacing + w) * kInvSqrt2);
      launch.nRowStepY = Trunc(across * (spacing + h) * kInvSqrt2);
      SetVelocity(launch, left ? -1 : 1, upper ? -1 : 1, true);
      break;
    }
    default: return false;
  }
  AddOffsets(launch);
  return true;
}

// The axis-aligned column of the second straight formation: standing on
// the shooter's foot line in front of it, growing upward.
bool AxisOriginB(sLaunch& l) {
  cShotLaunch& launch = l.launch;
  const int spacing = l.shot.m_anPatternParam[0] * 16;
  const int w = launch.nWidth, h = launch.nHeight;
  const int slot = launch.nDirSlot;
  if (slot < SLOT_LEFT || slot > SLOT_DOWN_RIGHT || slot == 4 || slot == 5) return false;
  launch.nBaseY = l.B - h + 1;
  launch.nRowStepX = 0;
  launch.nRowStepY = -(spacing + h);
  const bool left = slot == SLOT_UP || slot == SLOT_DOWN ? l.shooter.m_nFacing != 1 : IsLeftSlot(slot);
  launch.nBaseX = left ? l.L + 1 - w : l.R + 1;
  SetVelocity(launch, SignX(slot), SignY(slot), IsDiagonal(slot));
  AddOffsets(launch);
  return true;
}

// The origin of a formation turned to angle a, outside the shooter's box.
void RotatedOrigin(sLaunch& l, double a) {
  cShotLaunch& launch = l.launch;
  const int w = launch.nWidth, h = launch.nHeight;
  const double t = (w / 2 + l.R - l.L - l.W / 2 + 1) * kInvSqrt2;
  const double r = (l.B + h / 2 - l.T - l.H / 2 + 1) * kInvSqrt2;
  const double phi = Rad(a + 225);
  launch.nBaseX = Trunc(l.L + l.W / 2 + t * std::cos(phi) + r * std::sin(phi) - w / 2);
  launch.nBaseY = Trunc(l.T + l.H / 2 + t * std::sin(phi) - r * std::cos(phi) - h / 2);
}

int AimFromShooterCentre(sLaunch& l) {
  return AimAngleAt(l.L + l.W / 2 + l.launch.nOffsetX, l.T + l.H / 2 + l.launch.nOffsetY, l.shooter, l.shot,
                    l.launch);
}

int AimFromBaseCentre(sLaunch& l, int dx = 0, int dy = 0) {
  const cShotLaunch& launch = l.launch;
  return AimAngleAt(launch.nBaseX + launch.nWidth / 2 + dx, launch.nBaseY + launch.nHeight / 2 + dy, l.shooter,
                    l.shot, l.launch);
}

void PatternStraight(sLaunch& l, bool bRowA) {
  cShotLaunch& launch = l.launch;
  const cEdShot& shot = l.shot;
  const int n = shot.m_nShotCount;
  const bool aiming = shot.m_bAimTarget != 0;
  const int base = SlotBaseAngle(launch.nDirSlot);
  if (launch.nAngle == 0 && !aiming) {
    if (bRowA) AxisOriginA(l);
    else AxisOriginB(l);
    SpawnRow(l, n);
    return;
  }
  if (!bRowA || !shot.m_bRotateFormation) {
    if (bRowA) AxisOriginA(l);
    else AxisOriginB(l);
    const int theta = (aiming ? AimFromBaseCentre(l) : base) + launch.nAngle;
    VelocityForAngle(launch, theta);
    SpawnRow(l, n);
    return;
  }
  int theta = aiming ? AimFromShooterCentre(l) + launch.nAngle : base + launch.nAngle;
  RotatedOrigin(l, theta);
  if (aiming) theta = AimFromBaseCentre(l, launch.nOffsetX, launch.nOffsetY) + launch.nAngle;
  const double S = std::sin(Rad(theta)), C = std::cos(Rad(theta));
  const int e = shot.m_anPatternParam[0] * 8;
  const int f = shot.m_anPatternParam[0] * 16;
  const int w = launch.nWidth, h = launch.nHeight;
  const int m = n - 1;
  const int sign = (S >= 0) == (C >= 0) ? 1 : -1;
  launch.nBaseX = Trunc(launch.nBaseX - sign * S * (e + w / 2) * m);
  launch.nBaseY = Trunc(launch.nBaseY + sign * C * (e + h / 2) * m);
  launch.nRowStepX = Trunc(sign * S * (f + w));
  launch.nRowStepY = Trunc(-sign * C * (f + h));
  AddOffsets(launch);
  launch.dVX = -launch.dSpeed * C;
  launch.dVY = -launch.dSpeed * S;
  SpawnRow(l, n);
}

void PatternStraightA(sLaunch& l) { PatternStraight(l, true); }
void PatternStraightB(sLaunch& l) { PatternStraight(l, false); }

// The point just outside the shooter in the slot's direction.
void SpreadOrigin(sLaunch& l) {
  cShotLaunch& launch = l.launch;
  const int w = launch.nWidth, h = launch.nHeight;
  const int slot = launch.nDirSlot;
  switch (slot) {
    case SLOT_LEFT:
    case SLOT_RIGHT:
      launch.nBaseX = slot == SLOT_LEFT ? l.L - w + 1 : l.R + 1;
      launch.nBaseY = l.T + l.H / 2 - h / 2;
      break;
    case SLOT_UP:
    case SLOT_DOWN:
      launch.nBaseX = l.L + l.W / 2 - w / 2;
      launch.nBaseY = slot == SLOT_UP ? l.T - h : l.B + 1;
      break;
    case SLOT_UP_LEFT:
    case SLOT_DOWN_LEFT:
    case SLOT_UP_RIGHT:
    case SLOT_DOWN_RIGHT:
      launch.nBaseX = Trunc(IsLeftSlot(slot) ? l.L + l.W / 2 + (1 - l.W / 2 - w / 2) * kInvSqrt2 - w / 2
                                             : l.L + l.W / 2 + (l.R + w / 2 - l.W / 2 - l.L + 1) * kInvSqrt2 - w / 2);
      launch.nBaseY = Trunc(IsUpperSlot(slot) ? l.T + l.H / 2 - (h / 2 + l.H / 2) * kInvSqrt2 - h / 2
                                              : l.T + l.H / 2 + (l.B + h / 2 - l.T - l.H / 2 + 1) * kInvSqrt2 - h / 2);
      break;
    default: break;
  }
}

void PatternSpread(sLaunch& l) {
  cShotLaunch& launch = l.launch;
  const cEdShot& shot = l.shot;
  const bool aiming = shot.m_bAimTarget != 0;
  const int base = SlotBaseAngle(launch.nDirSlot);
  if (shot.m_bRotateFormation && (launch.nAngle != 0 || aiming)) {
    RotatedOrigin(l, (aiming ? AimFromShooterCentre(l) : base) + launch.nAngle);
  } else {
    SpreadOrigin(l);
  }
  AddOffsets(launch);
  const int centre = aiming ? AimFromBaseCentre(l) : base;
  const int n = shot.m_nShotCount;
  const int between = shot.m_anPatternParam[0];
  double angle = centre + launch.nAngle - between * (n % 2 == 1 ? n / 2 : n / 2 - 0.5);
  launch.nX = launch.nBaseX;
  launch.nY = launch.nBaseY;
  for (int i = 0; i < n; ++i) {
    VelocityForAngle(launch, angle);
    Spawn(l);
    angle += between;
  }
}

void PatternLightning(sLaunch& l) {
  const cActor* target = l.shooter.m_pTarget;
  if (!target) return;
  cShotLaunch& launch = l.launch;
  const cEdShot& shot = l.shot;
  const cStagePlay& stage = *g_pStageScene;
  const int X0 = Trunc(stage.m_ScrollX.m_dPos), Y0 = Trunc(stage.m_ScrollY.m_dPos);
  const int cx = target->CenterX(), cy = target->CenterY();
  const int w = launch.nWidth, h = launch.nHeight;
  const int spacing = g_SystemData.m_bLightningNoSpacing ? 0 : shot.m_anPatternParam[0] * 16;
  const int columns = std::min<int>(shot.m_anPatternParam[1], kMaxLightningColumns);
  const int c = shot.m_anPatternParam[2] * 16;
  const int slot = launch.nDirSlot;
  switch (slot) {
    case SLOT_LEFT:
    case SLOT_RIGHT:
      launch.nBaseX = slot == SLOT_LEFT ? X0 + kScreenW - w : X0;
      launch.nBaseY = Y0 + cy - h / 2;
      launch.nRowStepX = SignX(slot) * (w + spacing);
      launch.nRowStepY = 0;
      break;
    case SLOT_UP:
    case SLOT_DOWN:
      launch.nBaseX = X0 + cx - w / 2;
      launch.nBaseY = slot == SLOT_UP ? Y0 + kScreenH - h : Y0;
      launch.nRowStepX = 0;
      launch.nRowStepY = SignY(slot) * (h + spacing);
      break;
    case SLOT_UP_LEFT:
      if (kScreenW - cx < kScreenH - cy) {
        launch.nBaseX = X0 + kScreenW - w;
        launch.nBaseY = Y0 + cy + (kScreenW - cx) - h;
      } else {
        launch.nBaseX = X0 + cx + (kScreenH - cy) - w;
        launch.nBaseY = Y0 + kScreenH - h;
      }
      break;
    case SLOT_DOWN_LEFT:
      if (kScreenW - cx < cy) {
        launch.nBaseX = X0 + kScreenW - w;
        launch.nBaseY = Y0 + cy - (kScreenW - cx);
      } else {
        launch.nBaseX = X0 + cx + cy - w;
        launch.nBaseY = Y0;
      }
      break;
    case SLOT_UP_RIGHT:
      if (cx < kScreenH - cy) {
        launch.nBaseX = X0;
        launch.nBaseY = Y0 + cy + cx - h;
      } else {
        launch.nBaseX = X0 + cx - (kScreenH - cy);
        launch.nBaseY = Y0 + kScreenH - h;
      }
      break;
    case SLOT_DOWN_RIGHT:
      if (cx < cy) {
        launch.nBaseX = X0;
        launch.nBaseY = Y0 + cy - cx;
      } else {
        launch.nBaseX = X0 + cx - cy;
        launch.nBaseY = Y0;
      }
      break;
    default: break;
  }
  if (IsDiagonal(slot)) {
    launch.nRowStepX = Trunc(SignX(slot) * (w + spacing) * kInvSqrt2);
    launch.nRowStepY = Trunc(SignY(slot) * (h + spacing) * kInvSqrt2);
  }
  SetVelocity(launch, SignX(slot), SignY(slot), IsDiagonal(slot));
  if (columns >= 2) {
    const int q = ((columns - 1) / 2) * c + (columns % 2 == 0 ? c / 2 : 0);
    if (slot == SLOT_LEFT || slot == SLOT_RIGHT) {
      launch.nColStepX = 0;
      launch.nColStepY = c;
      launch.nBaseY -= q;
    } else if (slot == SLOT_UP || slot == SLOT_DOWN) {
      launch.nColStepX = c;
      launch.nColStepY = 0;
      launch.nBaseX -= q;
    } else {
      // Across the motion: (1, -1) for slots 8 and 11, (1, 1) for 9 and 10.
      const int across = slot == SLOT_UP_LEFT || slot == SLOT_DOWN_RIGHT ? -1 : 1;
      launch.nColStepX = Trunc(c * kInvSqrt2);
      launch.nColStepY = Trunc(across * c * kInvSqrt2);
      launch.nBaseX = Trunc(launch.nBaseX - q * kInvSqrt2);
      launch.nBaseY = Trunc(launch.nBaseY - across * q * kInvSqrt2);
    }
  }
  AddOffsets(launch);
  if (launch.nAngle != 0) VelocityForAngle(launch, SlotBaseAngle(slot) + launch.nAngle);
  int rowX = launch.nBaseX, rowY = launch.nBaseY;
  for (int row = 0; row < shot.m_nShotCount; ++row) {
    launch.nX = rowX;
    launch.nY = rowY;
    for (int column = 0; column < columns; ++column) {
      Spawn(l);
      launch.nX += launch.nColStepX;
      launch.nY += launch.nColStepY;
    }
    rowX += launch.nRowStepX;
    rowY += launch.nRowStepY;
  }
}

// n objects spread evenly round the circle (none for a count of 0).
void SpawnRound(sLaunch& l, int cx, int cy, int radius) {
  cShotLaunch& launch = l.launch;
  const int n = l.shot.m_nShotCount;
  const int base = SlotBaseAngle(launch.nDirSlot) + launch.nAngle;
  for (int k = 0; k < n; ++k) {
    const double theta = base + 360.0 * k / n;
    launch.nX = cx + Trunc(radius * std::cos(Rad(theta)) + 0.5);
    launch.nY = cy + Trunc(radius * std::sin(Rad(theta)) + 0.5);
    VelocityForAngle(launch, theta);
    Spawn(l);
  }
}

void PatternExplosion(sLaunch& l) {
  cShotLaunch& launch = l.launch;
  launch.nBaseX = l.L + l.W / 2 - launch.nWidth / 2 + launch.nOffsetX;
  launch.nBaseY = l.T + l.H / 2 - launch.nHeight / 2 + launch.nOffsetY;
  SpawnRound(l, launch.nBaseX, launch.nBaseY, 0);
}

void PatternSurround(sLaunch& l) {
  const cActor* target = l.shooter.m_pTarget;
  if (!target) return;
  cShotLaunch& launch = l.launch;
  int tx = 0, ty = 0;
  TargetCentre(*target, tx, ty);
  launch.nBaseX = tx - launch.nWidth / 2 + launch.nOffsetX;
  launch.nBaseY = ty - launch.nHeight / 2 + launch.nOffsetY;
  SpawnRound(l, launch.nBaseX, launch.nBaseY, l.shot.m_anPatternParam[0] * 16);
}

using tPattern = void (*)(sLaunch&);
const tPattern g_ShotPatternTable[SHOT_PATTERN_COUNT] = {PatternStraightA, PatternStraightB, PatternSpread,
                                                         PatternLightning, PatternExplosion, PatternSurround};

void RunPattern(sLaunch& l) {
  if (l.shot.m_nPattern < SHOT_PATTERN_COUNT) g_ShotPatternTable[l.shot.m_nPattern](l);
}

void PrepareLaunch(sLaunch& l, int nVolley) {
  cShotLaunch& launch = l.launch;
  launch.nVolley = nVolley;
  launch.nOffsetX = Trunc(l.shot.OffsetX(nVolley, l.shooter.m_nFacing));
  launch.nOffsetY = Trunc(l.shot.OffsetY(nVolley, l.shooter.m_nFacing));
}

// One launch of a summon: speed 1, no angle, no range, volley 0.
void Summon(sLaunch& l, int nSize) {
  cShotLaunch& launch = l.launch;
  launch.nWidth = launch.nHeight = nSize;
  launch.nSize = 1;
  launch.dSpeed = 1.0;
  launch.nDirSlot = ShotDirectionSlot(l.shot.m_nDirection, l.shooter);
  PrepareLaunch(l, 0);
  l.shooter.UpdateScreenRect();
  SetShooterBox(l);
  RunPattern(l);
}

template <class T>
const std::vector<T>& PaletteList(int nPalette);
template <>
const std::vector<cEdBlock>& PaletteList<cEdBlock>(int nPalette) {
  return nPalette == 0 ? g_CommonPalette.m_vBlocks : g_LoadedStage.m_vPaletteBlocks;
}
template <>
const std::vector<cEdChara>& PaletteList<cEdChara>(int nPalette) {
  return nPalette == 0 ? g_CommonPalette.m_vCharas : g_LoadedStage.m_vPaletteCharas;
}
template <>
const std::vector<cEdItem>& PaletteList<cEdItem>(int nPalette) {
  return nPalette == 0 ? g_CommonPalette.m_vItems : g_LoadedStage.m_vPaletteItems;
}

// The summoned palette entry, null when the index lies outside the list.
template <class T>
const T* SummonEntry(const cEdShot& shot) {
  const std::vector<T>& list = PaletteList<T>(shot.m_nSummonPalette);
  if (shot.m_nSummonIndex < 0 || static_cast<std::size_t>(shot.m_nSummonIndex) >= list.size()) return nullptr;
  return &list[static_cast<std::size_t>(shot.m_nSummonIndex)];
}

}  // namespace

int SlotBaseAngle(int nSlot) {
  static const int kBaseAngle[12] = {0, 0, 0, 180, 0, 0, 90, 270, 45, 315, 135, 225};
  return nSlot >= 0 && nSlot < 12 ? kBaseAngle[nSlot] : 0;
}

int ShotDirectionSlot(int nDirection, const cActor& shooter) {
  const bool right = shooter.m_nFacing == 1;
  int slot = nDirection;
  switch (nDirection) {
    case SHOTDIR_FRONT: slot = right ? SLOT_RIGHT : SLOT_LEFT; break;
    case SHOTDIR_BACK: slot = right ? SLOT_LEFT : SLOT_RIGHT; break;
    case SHOTDIR_FRONT_CW: slot = right ? SLOT_DOWN : SLOT_UP; break;
    case SHOTDIR_FRONT_CCW: slot = right ? SLOT_UP : SLOT_DOWN; break;
    case SHOTDIR_TRIGGER: {
      const cFlowInstance* flow = g_pStageScene->m_pCurFlow;
      slot = DirectionFromInputKey(flow ? flow->m_nTriggerKey : 0, right ? 1 : 0);
      break;
    }
    default: break;
  }
  if (slot < SLOT_LEFT || slot > SLOT_DOWN_RIGHT || slot == 4 || slot == 5) slot = right ? SLOT_RIGHT : SLOT_LEFT;
  return slot;
}

int AimAngleAt(int x, int y, const cActor& shooter, const cEdShot& shot, cShotLaunch& launch) {
  const cActor* target = shooter.m_pTarget;
  if (!target) return shooter.m_nFacing == 1 ? 180 : 0;
  const cStagePlay& stage = *g_pStageScene;
  int tx = 0, ty = 0;
  TargetCentre(*target, tx, ty);
  const bool scrolling = stage.m_ScrollX.m_bAuto || stage.m_ScrollY.m_bAuto;
  if (!scrolling || shot.m_bScrollSync || !target->m_bScrollSync) {
    return Trunc(std::atan2(ty - y, tx - x) * kDegreesPerRadian + 180 + 0.5);
  }
  // Aimed against the drifting view: the velocity that meets the target.
  const double divisor = g_LoadedStage.m_dSubSteps;
  cGameObject mover;
  mover.m_bScrollSync = shot.m_bScrollSync;
  const double speed = (shot.m_nSpeed + shot.m_nSpeedStep * launch.nVolley) * 0.1 / divisor;
  double vx = 0, vy = 0;
  int dir = 0;
  ComputeMoveVelocity(vx, vy, dir, &mover, x, y, tx, ty, speed, false, false, false);
  launch.dSpeed = std::sqrt(vx * vx + vy * vy) * divisor;
  return Trunc(std::atan2(vy, vx) * kDegreesPerRadian + 180);
}

void FireShots(cActor& shooter, const cEdShot& shot) {
  cShotLaunch launch;
  sLaunch l{shooter, CMD_SHOT, shot, launch};
  launch.nWidth = launch.nHeight = 16 * shot.m_nSize;
  launch.nSize = shot.m_nSize;
  launch.nDirSlot = ShotDirectionSlot(shot.m_nDirection, shooter);
  cActor* hero = g_pStageScene->m_pHero;
  if (&shooter == hero) shooter.UpdateScreenRect();
  if (shooter.m_pTarget && shooter.m_pTarget == hero) hero->UpdateScreenRect();
  SetShooterBox(l);

  const bool mirrored = shot.m_bMirrorAngle && shooter.m_nFacing == 1;
  const auto volleyAngle = [&shot, mirrored](int nVolley) {
    int angle = shot.m_nAngle + shot.m_nAngleStep * nVolley;
    if (mirrored) angle = 360 - angle;
    // One draw per volley, and one after the last (for the volley that is not fired).
    if (shot.m_nAngleRandom != 0) angle += Random() % (2 * shot.m_nAngleRandom + 1) - shot.m_nAngleRandom;
    return angle;
  };
  launch.nAngle = volleyAngle(0);
  launch.dSpeed = shot.m_nSpeed * 0.1;
  launch.nRange = shot.m_nRange;
  launch.nLifetime = shot.m_nLifetime;
  for (int i = 0; i <= shot.m_nExtraVolleys; ++i) {
    PrepareLaunch(l, i);
    RunPattern(l);
    launch.dSpeed = launch.dSpeed + shot.m_nSpeedStep * 0.1;
    launch.nAngle = volleyAngle(i + 1);
    launch.nRange += shot.m_nRangeStep;
    launch.nLifetime += shot.m_nLifetimeStep;
  }
}

void FireBlockSummon(cActor& shooter, const cEdShot& shot) {
  const cEdBlock* block = SummonEntry<cEdBlock>(shot);
  if (!block) return;
  cShotLaunch launch;
  sLaunch l{shooter, CMD_SUMMON_BLOCK, shot, launch};
  l.pBlock = block;
  if (shot.m_nBlockMode == 2) g_pStageScene->m_nBlockToggle2 = g_pStageScene->m_nBlockToggle1;
  Summon(l, kTileSize);
}

void FireCharaSummon(cActor& shooter, const cEdShot& shot) {
  const cEdChara* chara = SummonEntry<cEdChara>(shot);
  // Only an ordinary character is summoned, never a second hero.
  if (!chara || chara->m_nControl != 1) return;
  cShotLaunch launch;
  sLaunch l{shooter, CMD_SUMMON_CHARACTER, shot, launch};
  l.pChara = chara;
  Summon(l, kTileSize * std::max<int>(static_cast<std::int8_t>(chara->m_nScale), 1));
}

void FireItemSummon(cActor& shooter, const cEdShot& shot) {
  const cEdItem* item = SummonEntry<cEdItem>(shot);
  if (!item) return;
  const int kind = shot.m_nSummonPalette == 0 ? PALETTE_COMMON : PALETTE_STAGE;
  cShotLaunch launch;
  sLaunch l{shooter, CMD_SUMMON_ITEM, shot, launch};
  l.nItemKind = kind;
  l.nItemIndex = shot.m_nSummonIndex;
  Summon(l, kTileSize * item->m_nSize);
}
