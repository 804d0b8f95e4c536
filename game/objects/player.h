// The hero: the actor the player steers.
//
// Beside what every actor does, the view follows the hero (ConstrainX/Y
// move the scroll axes, then clamp the hero), it has a third hit box for
// picking up items, its jump command reads the jump button (hold time,
// variable height, jumping off characters), it remembers the repeat-pickup
// items it is touching, it can show its boxes (the stage's box displays)
// and it draws a sight mask around itself.
//
// The stage holds the hero in place (it can be neither copied nor moved;
// CopyActorFrom copies one hero's state into another) and points
// cStagePlay::m_pHero at it. Init sets the hero up for a stage from nothing:
// no state of an earlier stage survives it (the stage hands over what the
// carried status keeps after Init).
//
// Jump state: idle (released, hold 0) -> holding (the hold counts; take-off
// only in the first frame of holding) -> in the air (after the full hold or
// an early release, which cuts the rise to 30 %) -> landed -> idle once the
// button is released or no jump command runs in a flow step.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "game/objects/actor.h"

class cItem;
class cInputState;

enum eBoxDisplayKind { BOX_DISPLAY_MAP, BOX_DISPLAY_BODY, BOX_DISPLAY_ITEM, BOX_DISPLAY_SHOT };

// One of the hero's boxes shown on the screen (the stage's box-display
// settings): mode 0 off, 1 filled, 2 outline. The colour cycles through
// four palette entries from the base, eight frames each.
struct sBoxDisplay {
  std::int32_t nKind = BOX_DISPLAY_MAP;
  std::int32_t nMode = 0;
  std::int32_t nColour = 0;  // base palette number, 208 + 4 x colour index
  std::int32_t nX = 0, nY = 0, nWidth = 0, nHeight = 0;  // screen rectangle of the last drawing
  std::int32_t nCounter = 0;  // 0 to 31
};

// The block effect of the floor that scales the hero's added speed.
constexpr int FLOOR_EFFECT_SPEED = 3;

class cPlayer : public cActor {
 public:
  cPlayer() = default;
  ~cPlayer() override = default;

  // Copies every actor and hero member (links and flows included).
  void CopyActorFrom(const cActor& other) override;
  void ScaleHitBoxes(int s) override;
  void UpdateHitBoxesX() override;
  void UpdateHitBoxesY() override;
  int ConstrainX() override;
  int ConstrainY() override;
  int MoveX() override;
  int MoveY() override;
  int RunFlows(bool bDeathOnly) override;
  void Jump(cCommandInstance* pInst) override;

  // Set-up at each stage start at the centre of the hero's placement cell
  // (map pixels). The hero becomes its own target.
  void Init(int nId, const cEdChara* pDef, double dSpawnX, double dSpawnY);
  // Changes the movement type (0 walks, 1 to 3 fly) and rebuilds the boxes;
  // with bScale the current sizes take the definition's size scale.
  void SetFlyingMode(int nType, bool bScale);
  void BuildBoxDisplays();
  // The screen rectangle; on an axis that scrolls by itself the position
  // and the view are truncated separately.
  void UpdateScreenRectForScroll();
  void StorePreviousFloor() { m_nPrevFloorCell = m_nFloorCell; }
  void StorePreviousFacing() { m_nPrevFacing = m_nFacing; }
  bool IsItemUntouched(const cItem* pItem) const;
  void ForgetTouchedItem(const cItem* pItem);
  // The taken item's graphic (kind, index, frame) pops up over the hero and
  // rises for half a second.
  void ShowItemIcon(int nKind, int nIndex, int nFrame);

  void Draw(cDrawTarget& target, sSurface dst, bool bPaused);
  // The part of the sight-mask image around the hero over the whole screen.
  void DrawSightMask(cDrawTarget& target, sSurface dst);

  // The input of the hero's player number (checked access).
  cInputState& Input() const;

  std::int32_t m_nInputSlot = 0;  // element of g_InputStates
  std::int32_t m_nJumpHold = 0;   // sub-steps the jump button is held in this jump command
  std::int32_t m_bJumpReleased = 1;
  std::int32_t m_bNoJumpFloor = 0;
  double m_dFloorInertia = 0;  // 4 / speed unit
  std::int32_t m_bJumpHandled = 0;  // a jump command ran in this flow step
  std::int32_t m_nPrevFacing = 0;
  std::list<cItem*> m_TouchedItems;
  std::int32_t m_nFloorEffect = 0;
  double m_dFloorEffectValue = 0;
  std::int32_t m_bOnEffectFloor = 0;
  std::int32_t m_nBlockItemWait = 0;  // sub-steps
  sHitBox m_ItemBox;
  std::vector<sBoxDisplay> m_vBoxDisplays;

 private:
  // The map box of the walking or flying hero: size and draw offsets.
  static void MapBox(bool bFlying, int& w, int& h, int& nOffX, int& nOffY);
  void ResetJumpState();
};
