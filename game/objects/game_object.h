// The base of every object that lives on a stage: characters and the hero
// (through cActor), items, shots and swords.
//
// Positions are pixels of the play map (the stage's 32-pixel cells with a
// margin of 10 cells on every side), kept as doubles; the box is
// [m_dX, m_dRight] x [m_dY, m_dBottom], edges included, and its cells are
// trunc(edge) >> 5. Speeds are pixels per sub-step. The view and the stage
// edges come from the running stage's scroll axes (g_pStageScene).
//
// Every centre-based operation (the SetCenter family, movement toward a
// point, the nearest-character search) uses the sprite rectangle's centre in
// screen pixels, (screen left + draw width / 2, screen top + draw height / 2),
// refreshed by UpdateScreenRect.
//
// Edge codes of the clamps: 0 inside the scroll limits (or, in mode 1,
// clamped to a stage edge); 1 beyond a scroll limit; 2 beyond a stage edge;
// 3 clamped at the map edge (mode 2). Vertically the codes tell the side:
// 1, 2, 3 above the scroll min, the stage top, clamped at the map top;
// 4, 5, 6 below the scroll max, the stage bottom, clamped at the map bottom.
#pragma once

#include <cstdint>

#include "game/effects/anime_sequencer.h"

class cEdScreenOutRule;
struct cCommandInstance;

// The sprite on the screen: its rectangle, and where the box sits in it.
struct cSpriteRect {
  int m_nLeft = 0, m_nTop = 0, m_nRight = 0, m_nBottom = 0;
  int m_nOffX = 0, m_nOffY = 0;          // box inside the sprite, scaled
  int m_nDrawW = 0, m_nDrawH = 0;        // drawn size, scaled
  int m_nBaseOffX = 0, m_nBaseOffY = 0;  // at scale 1
  int m_nBaseDrawW = 0, m_nBaseDrawH = 0;
};

constexpr int kUnlimitedLifeTime = 2147483647;

class cGameObject {
 public:
  cGameObject() = default;
  virtual ~cGameObject() = default;
  cGameObject(const cGameObject&) = default;
  cGameObject& operator=(const cGameObject&) = default;

  virtual void CopyFrom(const cGameObject& other);
  // Box, draw offsets and draw size become base x nNew; the box grows about
  // its horizontal centre and AdjustYForScale moves it vertically.
  virtual void SetScale(int nNew, int nOld);
  virtual void ScaleHitBoxes(int) {}
  virtual void AdjustYForScale(int, int) {}
  virtual void UpdateHitBoxesX() {}
  virtual void UpdateHitBoxesY() {}
  virtual void SetCenter(int, int) {}
  virtual void SetCenterStop(int, int, cCommandInstance*) {}
  virtual void SetCenterX(int) {}
  virtual void SetCenterXStop(int, cCommandInstance*) {}
  virtual void SetCenterY(int) {}
  virtual void SetCenterYStop(int, cCommandInstance*) {}

  // Animation tables: a null-terminated array of frame tables (see
  // cAnimeSequencer::Build), or null for none.
  void InitBase(int nId, int nControl, int nPlayerNo, int nTeam, int nGraphicNo,
                const int (*const* pAnimeTables)[3], int nAnimeStart, int nDrawOffX, int nDrawOffY,
                int nWidth, int nHeight, int nDrawWidth, int nDrawHeight, int nFacing, int nMoveType,
                std::int16_t nLinearIndex);
  // The definition's flying setting: 0 walks, 1 flies through blocks, 2 flies
  // and is stopped by them, 3 flies and is killed by them; others change nothing.
  void SetMoveType(int nType);

  // Mode 0 clamps to the scroll limits, 1 to the stage proper, 2 to the map.
  int ClampToStageX(int nMode);
  int ClampToStageY(int nMode);
  // Speed limited to the stage's maximum per sub-step, added, then clamped.
  int StepX(int nMode);
  int StepY(int nMode);
  void ShiftXForScale(int nNew, int nOld);
  void AdjustForScale(int nNew, int nOld);

  void UpdateScreenRect();
  bool IsOnScreen() const;
  bool IsInViewRange(bool bSkipX, bool bSkipY) const;
  bool IsInsideArea(bool bWholeMap) const;
  bool IsOutOfBounds(const cEdScreenOutRule& rule) const;
  bool OverlapsRect(double left, double top, double right, double bottom) const;
  // A corner cell of the box collides for the object's team.
  bool OverlapsBlock() const;
  bool OverlapsBlockEx(int) const { return OverlapsBlock(); }
  // Shots' gravity: one sub-step of the stage's gravity unless flying.
  void ApplyGravity();
  // Shrinks an added speed toward 0 by m_dInertiaDecay, snapping to 0 where it would cross.
  void DecayAccel(double& dSpeed, bool bDecay) const;
  int FacingSign() const { return m_nFacing ? 1 : -1; }

  int CenterX() const { return m_SpriteRect.m_nLeft + m_SpriteRect.m_nDrawW / 2; }
  int CenterY() const { return m_SpriteRect.m_nTop + m_SpriteRect.m_nDrawH / 2; }

  // Movement toward a point (the command instance holds offset, speed and
  // receives velocity and direction).
  void MoveTargetPoint(int& x, int& y, const cCommandInstance& inst) const;
  int MoveToward(cCommandInstance& inst, const cGameObject* pMover, double tx, double ty, bool bFlag,
                 bool bArriveTest);
  int MoveTowardX(cCommandInstance& inst, const cGameObject* pMover, double tx, bool bFlag,
                  bool bArriveTest);
  int MoveTowardY(cCommandInstance& inst, const cGameObject* pMover, double ty, bool bFlag,
                  bool bArriveTest);

  std::int32_t m_nId = 0;
  std::int32_t m_nLifeTime = 0;  // sub-steps left; kUnlimitedLifeTime for none
  std::int32_t m_nFacing = 0;    // 1 right, 0 left
  std::int16_t m_nLinearIndex = 0;
  std::int32_t m_nGraphicNo = 0;
  cAnimeSequencer m_Anime;
  cSpriteRect m_SpriteRect;
  std::int32_t m_nControl = 0;  // 0 a player, else the computer
  std::int32_t m_nPlayerNo = 0;
  std::int32_t m_nTeam = 0;
  double m_dX = 0, m_dY = 0;
  double m_dRight = 0, m_dBottom = 0;
  std::int32_t m_nCellLeft = 0, m_nCellTop = 0, m_nCellRight = 0, m_nCellBottom = 0;
  double m_dVX = 0, m_dVY = 0;
  double m_dAccelX = 0, m_dAccelY = 0;
  double m_dInertiaDecay = 0;
  std::int32_t m_bDecayAccelX = 0, m_bDecayAccelY = 0;
  std::int32_t m_bScrollSync = 0;
  std::int32_t m_nWidth = 0, m_nHeight = 0;
  std::int32_t m_nBaseWidth = 0, m_nBaseHeight = 0;
  std::int32_t m_bFlying = 0;
  std::uint8_t m_nBlockMode = 0;  // flying: 0 passes blocks, 1 stopped, 2 killed
  std::int32_t m_bAppeared = 0;
  std::int32_t m_bOnScreen = 0;
  std::uint8_t m_bAppearedOnce = 0;
};

// The velocity from (x0, y0) toward (tx, ty) at speed (a negative speed
// flees diagonally unless bNoFlee), corrected for the view's auto-scroll;
// dir 2 right, 1 left, 0 none. Returns 1 on arrival (with bArriveTest).
int ComputeMoveVelocity(double& vx, double& vy, int& dir, const cGameObject* pMover, double x0,
                        double y0, double tx, double ty, double speed, bool bFlag, bool bNoFlee,
                        bool bArriveTest);
int ComputeMoveVelocityX(double& vx, double& vy, int& dir, const cGameObject* pMover, double x0,
                         double tx, double speed, bool bFlag, bool bArriveTest);
int ComputeMoveVelocityY(double& vx, double& vy, int& dir, const cGameObject* pMover, double y0,
                         double ty, double speed, bool bFlag, bool bArriveTest);

// Wave movement: speed and acceleration of a cosine wave of amplitude a and
// period b, at phase (in degrees x speed unit), which then advances by step
// and wraps once at 360 x speed unit.
double WaveSpeedCos(int a, int b, double& dPhase, double dStep, double dOffset);
double WaveAccelSin(int a, int b, double& dPhase, double dStep, double dOffset);
double SpeedStepRate(double x);

// Knock-back speeds for an effective impact e along (dx, dy): each axis
// gets its share of e half-blocks, covered while the speed loses 1/u per
// sub-step. e = 0 writes nothing.
void KnockbackSpeeds(double& vx, double& vy, std::int8_t e, double dx, double dy);

// The distance condition's band test on one axis.
bool IsInBand(int a, int w, int lo, int hi, int margin, int before, int after, bool bWholeWhenZero);
