// An actor: the part shared by the characters and the hero. A game object
// that carries its own copy of a character definition (m_Chara, changed in
// place by commands), runs flows built from it, and has HP and SP with
// gauges, two hit boxes (body against characters, shot box against shots),
// a target, knock-back, jump and contact state, no-damage timers, overlay
// animations and a running character effect.
//
// Set-up (actor.cpp): InitCommon, SetBodyBox, BuildFlows, SetAnimeSet,
// CopyActorFrom, the centre operations and the target links.
// Physics (actor_physics.cpp): per-sub-step bookkeeping, gravity, landing,
// ceilings, knock-back, jump speeds and times, placement at a cell.
// Damage and death (actor_damage.cpp): HP, SP, gauges, no-damage times,
// contact and shot damage, Die, overlays and the animation frame.
//
// Units: b = the stage's sub-steps per frame, u = b as a double, g = the
// gravity per sub-step; speeds are pixels per sub-step; durations of
// definitions are tenths of a second (6 b sub-steps each).
//
// Links: m_pTarget / m_vTargetedBy and the shots' m_pShotTarget / m_vShots
// are kept in step; UnlinkAll drops every link of the actor and runs on
// death and in the destructor, so no other object keeps a dangling pointer.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "base/input_state.h"
#include "game/draw/draw_target.h"
#include "game/draw/graphic_source.h"
#include "game/effects/effect_run.h"
#include "game/flows/flow_instance.h"
#include "game/objects/game_object.h"
#include "game/objects/hit_box.h"
#include "game/stage/stage_play.h"
#include "model/definitions/chara.h"

class cEdMove;
class cInputState;
class cItem;
class cShot;
struct cMapCell;

// A HP or SP gauge shown above the actor after a change.
struct sGauge {
  std::int32_t nTime = 0;  // frames left; 0 hidden
  double dChange = 0;      // pixels of the last change, negative for a loss
  double dShrink = 0;      // per frame
  std::int32_t nLength = 0;  // pixels of 50
};

struct sNoDamageFrom {
  std::int32_t nAttackerId = 0;
  std::int32_t nLeft = 0;  // sub-steps
};

// An animation played over the base animation, started by a flow.
struct sOverlayAnime {
  cAnimeSequencer m_Anime;
  std::int32_t bPriority = 0;
  std::int32_t nDelay = 0;
  std::int32_t nValue = 0;  // set by the animation command
  std::int32_t nSerial = 0;  // of the flow that started it
  std::int32_t bPaused = 0;
};

constexpr int kFlowGroupCount = 27;

// Where a key-sequence match stands in each of the hero's 19 key-change logs
// (ten directions, then no button and buttons 1 to 8): the entry (0 the
// newest) and how many frames of it lie at or before the moment tested.
struct sKeyCursor {
  const cInputState* pInput = nullptr;
  int anPos[KEY_STATE_COUNT] = {};
  int anCount[KEY_STATE_COUNT] = {};
};

// The unit vector of a resolved direction code (2 to 11; diagonals of
// length 1); false, leaving (0, 0), for any other code.
bool DirectionUnit(int nDirection, double& ux, double& uy);

class cActor : public cGameObject {
 public:
  cActor();
  ~cActor() override;
  cActor(const cActor&) = delete;
  cActor& operator=(const cActor&) = delete;

  void CopyFrom(const cGameObject& other) override { cGameObject::CopyFrom(other); }
  void AdjustYForScale(int nNew, int nOld) override;
  void SetCenter(int x, int y) override;
  void SetCenterStop(int x, int y, cCommandInstance* pInst) override;
  void SetCenterX(int x) override;
  void SetCenterXStop(int x, cCommandInstance* pInst) override;
  void SetCenterY(int y) override;
  void SetCenterYStop(int y, cCommandInstance* pInst) override;

  // The classes' operations; the actor itself does nothing.
  virtual void CopyActorFrom(const cActor& other);
  virtual cItem* GetDropItem() { return nullptr; }
  virtual int ConstrainX() { return 0; }
  virtual int ConstrainY() { return 0; }
  virtual int MoveX() { return 0; }
  virtual int MoveY() { return 0; }
  virtual int RunFlows(bool) { return 0; }
  virtual void Jump(cCommandInstance*) {}

  // The flow engine (game/flows/). FireTrigger starts the flows of a
  // trigger whose conditions and key conditions hold; a flow is tested at
  // most once per display frame unless the settings allow several starts.
  virtual void FireTrigger(int nTrigger);
  // Once per display frame, before the sub-steps.
  void ResetFlowFrameFlags();
  // The first direction (0 neutral .. 9 any) whose key is down now; 0 when none.
  static int GetTriggerKey(const cInputState& input);
  // Starts the lead-in animations due at the running flows' step counts.
  void StartAnimeRequests();
  // The flow step that characters and the hero share: the due lead-in
  // animations, then each running flow in order (only death flows with
  // bDeathOnly), stopped when it finishes. Returns 1 at once, leaving the
  // stage's current actor set, when a stepped flow that is not a death flow
  // left the actor without HP (not with bDeathOnly), or when bVanishEnds
  // and the actor asked to vanish.
  int StepFlows(bool bDeathOnly, bool bVanishEnds);
  // After the flow step: removes the flows flagged for deletion and frees
  // the groups whose flows stopped.
  void EndFlowStep();
  // Removes instance and definition entry (and the flow's overlays).
  void RemoveFlow(int nIndex);
  // Removes the flows with ID id (returns the index of the first, or -1);
  // id 0 removes every flow (returns 0).
  int RemoveFlowsById(int nId);
  // Takes a copy of another actor's instances.
  void AssignFlows(const std::vector<cFlowInstance>& flows);

  // Set-up.
  void InitCommon(const cEdChara* pDef, double dSpawnX, double dSpawnY, std::int16_t nLinearIndex);
  void SetBodyBox(bool bBottomAligned, int w, int h);
  void BuildFlows(const std::vector<cEdFlow>& flows, int nFacing, bool bInsert, int nIndex);
  // Points every flow instance at its entry of the own definition copy.
  void RelinkFlows();
  void SetAnimeSet(std::int16_t nSet, bool bForce);
  // Sight ranges are given in half-blocks of 16 pixels.
  static int HblToPixels(int nHbl) { return nHbl * 16; }
  void SetTarget(cActor* pTarget);
  void UnlinkAll();

  // Physics.
  void ClearBlockContacts();
  void SavePosition();
  void RestorePosition();
  void ApplyGravity();
  bool IsStanding() const;
  void LandOnBlock();
  void HitCeiling();
  void LandOnCharacter(bool bRide);
  void ApplyImpact(std::int8_t nImpact, double dx, double dy);
  void ApplyContactImpact(const cActor& attacker);
  void ApplyShotImpact(const cShot& shot);
  void ApplyImpactY();
  void DecayImpactX();
  void DecayImpactY();
  double JumpSpeedForHeight(double dHeight) const;
  double JumpSpeedForHbl(std::int8_t nHbl) const;
  int JumpFrames(double v) const;
  int JumpTimeForHbl(int nHbl) const;
  void PlaceAtTile(int nColumn, int nRow);
  void PlaceAtTileX(int nColumn);
  void PlaceAtTileY(int nRow);

  // Movement of the movement commands (actor_movement.cpp). Velocities are
  // pixels per sub-step; a facing request nTurn is 0 none, 1 left, 2 right.
  //
  // The direction code after facing and the running flow's input key.
  int ResolveDirection(int nCode) const;
  void DirectionSpeed(double s, int nCode, double& vx, double& vy, std::int32_t& nTurn) const;
  void DirectionAngleSpeed(double s, int nCode, int nAngle, double& vx, double& vy, std::int32_t& nTurn) const;
  // Toward the move's point; with its arrival switch nRemain becomes the travel time.
  void TargetPointSpeed(double s, int ox, int oy, const cEdMove& move, double& vx, double& vy, std::int32_t& nTurn,
                        std::int32_t& nRemain) const;
  // Walks on, turning at a ledge or carrying a rider (clears m_bRidden).
  void GroundTurnStep(double s, double& vx, double& vy, std::int32_t& nTurn);
  int MoveTowardByAxes(cCommandInstance& inst, const cEdMove& move, const cGameObject* pMover, double tx, double ty);
  void AvoidOffscreenSpeed(double s, int nCode, double& vx, double& vy) const;
  // Adds a command's velocity to the speeds (or, with inertia, accelerates
  // the added speeds), turns the actor and plays the walk or fly animation.
  void ApplyMove(double vx, double vy, int nTurn, cCommandInstance& inst, const cEdMove& move, bool bForceTurn);

  // Damage and death.
  bool AddHp(int nDelta, bool bForce, bool bShowGauge);
  void ShowHpGauge(int nDelta);
  void AddSp(int nDelta, bool bShowGauge);
  void ShowSpGauge(int nDelta);
  void StartInvincibility();
  void StartInvincibilityFrom(int nAttackerId);
  void TickInvincibility();
  bool IsInvincible() const { return m_nNoDamage > 0; }
  bool IsInvincibleTo(int nAttackerId) const;
  bool TakeContactDamage(const cActor& attacker);
  bool TakeShotDamage(const cShot& shot);
  int Die();
  void RemoveOverlaysOfFlow(int nSerial);
  void PauseOverlaysOfFlow(int nSerial);
  void ResumeOverlaysOfFlow(int nSerial);
  int UpdateAnimation(bool bPaused);
  // The frame offset of the sprite, and whether and how it is tinted (only
  // on the Direct3D back end).
  int GetSpriteSource(bool bDirect3D, bool& bColourChange, sBltColour& colour) const;
  // Advances the gauge display by a frame (the drawing calls it once per frame).
  static void StepGauge(sGauge& gauge);

  // Flow conditions (game/flows/): the tests that belong to the actor.
  // Status condition 2 (definition bytes or the auto-scroll switches),
  // status condition 3 (facing, standing, on screen), distance to the hero.
  bool CheckStatusCondition2(const cEdCondition& condition) const;
  bool CheckStatusCondition3(const cEdCondition& condition);
  bool CheckDistanceCondition(const cEdCondition& condition);
  // True when the flow may start as far as its key conditions go: they
  // match the hero's key-change logs now and, without key repeat, did not
  // already match at the previous test.
  bool CheckKeyConditions(cFlowInstance& flow);
  bool MatchKeySequence(const std::vector<cEdKeyCondition>& keys, int nTolerance);
  bool MatchKeyCondition(const cEdKeyCondition& key, sKeyCursor& cursor, int& nDuration);
  static bool TestKeyState(const cEdKeyCondition& key, const KEYCHANGE& entry, int nCount, int nState);
  static void ShiftKeyCursor(sKeyCursor& cursor, int n);
  // One key condition against the newest log entries only (the hero's jump).
  static bool TestKeyConditionNow(cInputState& input, const cEdKeyCondition& key);
  // The inertia decay of a stop value: stop x 0.01 / sub-steps squared.
  static double StopToInertiaDecay(int nStop);

  // Drawing (actor_draw.cpp). State that advances while drawing (animations,
  // the character effect, gauges, dying frames) advances the same whatever
  // the target does, so headless runs draw into a target that records or
  // discards.
  void Draw(cDrawTarget& target, sSurface dst, bool bPaused);
  // True when the death display is over.
  bool DrawDying(cDrawTarget& target, sSurface dst, bool bPaused);
  // Steps the character effect without drawing; true when it finished.
  bool RunCharaEffectHidden(bool bPaused);
  void DrawHpGauge(cDrawTarget& target, sSurface dst);
  void DrawSpGauge(cDrawTarget& target, sSurface dst);
  void DrawGauge(cDrawTarget& target, sSurface dst, sGauge& gauge, int nKind);

  cActor* m_pTarget = nullptr;
  std::vector<cActor*> m_vTargetedBy;
  std::vector<cShot*> m_vShots;
  cEdChara m_Chara;
  std::int32_t m_nFlowSerial = 0;
  std::vector<cFlowInstance> m_vFlows;
  std::vector<std::uint8_t> m_vGroupRunning;
  std::vector<std::uint8_t> m_vGroupStopped;
  std::vector<std::uint8_t> m_vGroupStarted;
  std::int32_t m_bGroupStopped = 0;
  std::int32_t m_bFlowDeleted = 0;
  double m_dSpawnX = 0, m_dSpawnY = 0;
  std::int32_t m_bMovedByCommand = 0;
  double m_dImpactVX = 0, m_dImpactVY = 0;
  std::int32_t m_bKnockedBack = 0;
  double m_dPrevImpactVY = 0;
  std::int32_t m_bMoveDisabled = 0;
  std::int32_t m_nWallSide = -1;  // 0 left, 1 right, -1 none
  std::int32_t m_bFalling = 1;
  std::int32_t m_bInAir = 0;
  std::int32_t m_bJumping = 0;
  std::int32_t m_bJumpBlocked = 0;
  std::int32_t m_bJumpRefused = 0;
  cMapCell* m_pFloorCell = nullptr;
  std::int32_t m_nFloorCell = 0;
  std::int32_t m_nPrevFloorCell = 0;
  std::int32_t m_nMoveTypeGrace = 0;
  std::int32_t m_bPinX = 0, m_bPinY = 0;
  std::int32_t m_nPinX = 0, m_nPinY = 0;
  std::int32_t m_bDying = 0;
  std::int32_t m_nDyingFrames = 0;
  std::int32_t m_bHitLeft = 0, m_bHitRight = 0, m_bHitTop = 0, m_bHitBottom = 0;
  std::int32_t m_bRidden = 0;
  std::int32_t m_bOnCharacter = 0;
  std::int32_t m_nRiderId = 0;
  double m_dRiderX = 0, m_dRiderTop = 0, m_dRiderRight = 0, m_dRiderBottom = 0;
  // The block character this actor rides (riding flag m_bOnCharacter) and
  // its box at the end of the last contact pass: the platform carries the
  // rider by how far it moved since.
  std::int32_t m_nRiddenId = 0;
  double m_dRiddenX = 0, m_dRiddenY = 0, m_dRiddenRight = 0, m_dRiddenBottom = 0;
  double m_dPrevX = 0, m_dPrevY = 0, m_dPrevRight = 0, m_dPrevBottom = 0;
  std::int32_t m_nHp = 0;
  sGauge m_HpGauge;
  std::int32_t m_nSp = 0;
  sGauge m_SpGauge;
  std::vector<std::int32_t> m_vVars;  // v1 to v8 at 1 to 8
  std::int32_t m_nNoDamage = 0;
  std::list<sNoDamageFrom> m_NoDamageFrom;
  std::list<sOverlayAnime> m_Overlays;
  cCharaEffectRun m_CharaEffect;
  std::int32_t m_bVanish = 0;
  std::int32_t m_nSight = 0;
  std::int32_t m_bHidden = 0;
  sHitBox m_BodyBox;
  sHitBox m_ShotBox;
  // Kept for the stage passes: fall counter (sub-steps since the floor was
  // left, reset by LandOnBlock), the cell landed on and that cell at the
  // start of the sub-step, floor-effect counter, the two per-frame
  // block-change flags, and the removal request.
  std::int32_t m_nFallCount = 0;
  cMapCell* m_pLandedCell = nullptr;
  cMapCell* m_pLandedCellAtStart = nullptr;
  std::int32_t m_nFloorEffectCount = 0;
  std::int32_t m_bBlockChanged1 = 0;
  std::int32_t m_bBlockChanged2 = 0;
  std::int32_t m_bRemove = 0;
  // Sub-steps in which being squeezed does not kill (a block was just
  // placed over the actor); counted down by each step of its flows.
  std::int32_t m_nCrushGrace = 0;
  // Flow changes of item commands taken while the actor's own flows were
  // being stepped (ChangeActorFlows); applied when that step ends.
  std::vector<cEdCommand> m_vQueuedItemCommands;

 private:
  // The routine of the running character effect's kind: draws (with a
  // target) and advances the run; true when the effect finished.
  bool RunCharaEffect(cDrawTarget* pTarget, sSurface dst, const sGraphicSource& src, bool bPaused);
  int CharaEffectKind() const;
};
