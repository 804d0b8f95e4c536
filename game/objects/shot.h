// A launched shot or sword: a game object with a copy of its shot
// definition.
//
// The stage keeps live shots in its shot list and per-team lists
// (cStagePlay::AddShotToStage) and runs, per sub-step and in this order:
// UpdateMotion (1 = remove; a sword's is UpdateSword), the base object's
// gravity, StepY, StepX, the out-of-view test and HitsBlock (1 = hits a
// block); then the hit passes, and Draw in the shot's layer.
//
// Speeds are pixels per sub-step; definition speeds are tenths of a pixel
// per frame, and times tenths of a second (6 x sub-steps per frame each).
#pragma once

#include <cstdint>
#include <vector>

#include "game/draw/draw_target.h"
#include "game/objects/game_object.h"
#include "game/objects/hit_box.h"
#include "model/definitions/shot.h"

class cActor;
class cEdSwordFrame;

// What one volley (or one summon) launches: filled by the firing, then by
// the formation, read when each object is spawned. Positions are stage
// pixels (the view's scroll added to screen positions).
struct cShotLaunch {
  int nVolley = 0;
  double dSpeed = 0;  // pixels per frame
  int nAngle = 0;     // degrees added to the direction's base angle
  int nRange = 0;     // half-blocks
  int nLifetime = 0;  // tenths of a second
  double dVX = 0, dVY = 0;  // pixels per frame
  int nX = 0, nY = 0;       // where the next object is spawned
  int nBaseX = 0, nBaseY = 0;
  int nRowStepX = 0, nRowStepY = 0;
  int nColStepX = 0, nColStepY = 0;
  int nWidth = 0, nHeight = 0;  // one launched object
  int nSize = 0;
  int nOffsetX = 0, nOffsetY = 0;
  int nDirSlot = 0;  // 2 to 11
};

// The kinds a shot object is initialised as: the command kinds of the shot
// and the sword.
constexpr int SHOT_KIND_SHOT = 11;
constexpr int SHOT_KIND_SWORD = 12;

class cShot : public cGameObject {
 public:
  cShot() = default;
  cShot(const cShot&) = default;
  cShot& operator=(const cShot&) = default;
  // Leaves the homing list of its target.
  ~cShot() override;

  void ScaleHitBoxes(int nNew) override;
  // A size change keeps the vertical centre.
  void AdjustYForScale(int nNew, int nOld) override;
  void UpdateHitBoxesX() override;
  void UpdateHitBoxesY() override;

  // nKind: SHOT_KIND_SHOT or SHOT_KIND_SWORD. A sword's type must have a frame.
  void Init(int nSerial, cActor* pShooter, int nKind, const cEdShot& shot, const cShotLaunch& launch);

  // One sub-step of motion; 1 when the shot ends (lifetime or range out,
  // a sword's owner gone or its last frame over).
  int UpdateMotion();
  // One sub-step of a sword at its owner; 1 when it ends (owner gone, last frame over).
  int UpdateSword();
  // The steps return the clamp codes of the base object (ClampX: 3 at the map edge, else 0).
  int StepX();
  int StepY();
  int ClampX();
  // 1 when a map cell under the shot stops it (never when it passes blocks).
  int HitsBlock();
  void Draw(cDrawTarget& target, sSurface dst, bool bPaused);

  // A sword and a piercing shot hit each actor once.
  bool HasHit(const cActor& actor) const;
  void RecordHit(const cActor& actor);

  // Splits a magnitude along a direction into the added-speed pair.
  void SetVelocityFromDirection(double dMagnitude, double dx, double dy);

  std::vector<std::int32_t> m_vHitActorIds;
  cEdShot m_Shot;
  std::int32_t m_nOwnerId = 0;
  std::int32_t m_nRange = 0;     // sub-steps left
  std::int32_t m_nLifetime = 0;  // sub-steps left
  std::int32_t m_nSwordFrame = 0;
  std::int32_t m_nSwordFrameSteps = 0;
  std::int32_t m_bIsShot = 1;  // 1 a shot (pushes along its motion), 0 a sword (pushes by facing)
  sHitBox m_HitBox;
  double m_dSpeed = 0;
  double m_dBaseVX = 0, m_dBaseVY = 0;
  double m_dAccel = 0;
  std::int32_t m_bAccel = 0;
  // Movement state: sub-steps run, the sub-steps where the turn or the
  // homing starts and where the homing ends, and whether the kind is done.
  std::int32_t m_nMoveStep = 0;
  std::int32_t m_nMoveStart = 0;
  std::int32_t m_nMoveEnd = 0;
  std::int32_t m_bMoveDone = 0;
  double m_dWavePhase = 0;
  double m_dWaveCos = 0, m_dWaveSin = 0;
  // The shooter's target, kept by the kinds that aim at or home on it;
  // cleared when that actor dies.
  cActor* m_pShotTarget = nullptr;

 private:
  // The movement kind's step (nothing for straight shots and unknown kinds).
  void Move();
  void MoveAim();
  void MoveHome();
  void MoveWave();
  void MoveFall();
  // Where the aiming and homing kinds steer: the hero, the shot's target
  // while alive, or the nearest character of the kind's team; null for none.
  cActor* SteeringGoal(int nTeamParam);
  // The base velocity at m_dSpeed toward the goal's centre.
  void VelocityToward(const cActor& goal, double& vx, double& vy);
  // Half-blocks of the movement parameters as sub-steps at m_dSpeed.
  int HblToSubSteps(int nHbl) const;
  const cEdSwordFrame* SwordFrame() const;
};
