// The hero's drawing: the actor's sprite, the box displays, the sight mask
// and the taken item's pop-up.
#include <algorithm>

#include "base/checked_access.h"
#include "game/objects/player.h"
#include "game/overlays/message_window.h"
#include "game/overlays/picture.h"
#include "game/stage/stage_play.h"
#include "model/settings/system_data.h"

namespace {

enum eBoxDisplayMode { BOX_DISPLAY_OFF, BOX_DISPLAY_FILLED, BOX_DISPLAY_OUTLINE };

// Sight shapes 2 and 4 lie ahead of the hero; 0 is the whole screen.
bool IsSightAhead(int nShape) { return nShape == 2 || nShape == 4; }

}  // namespace

void cPlayer::Draw(cDrawTarget& target, sSurface dst, bool bPaused) {
  cActor::Draw(target, dst, bPaused);
  // On an 8-bit screen with palette cycling the palette itself cycles.
  const bool bFixedColour = target.BitsPerPixel() == 8 && g_SystemData.m_bPaletteCycle;
  for (std::size_t i = 0; i < m_vBoxDisplays.size(); ++i) {
    sBoxDisplay& box = CheckedAt(m_vBoxDisplays, static_cast<int>(i));
    if (box.nMode == BOX_DISPLAY_OFF) continue;
    box.nX = m_SpriteRect.m_nLeft + m_SpriteRect.m_nOffX;
    box.nY = m_SpriteRect.m_nTop + m_SpriteRect.m_nOffY;
    const sHitBox* hit = nullptr;
    switch (box.nKind) {
      case BOX_DISPLAY_BODY: hit = &m_BodyBox; break;
      case BOX_DISPLAY_ITEM: hit = &m_ItemBox; break;
      case BOX_DISPLAY_SHOT: hit = &m_ShotBox; break;
      default: break;
    }
    if (hit) {
      box.nX += hit->m_nOffX;
      box.nY += hit->m_nOffY;
      box.nWidth = hit->m_nWidth;
      box.nHeight = hit->m_nHeight;
    } else {
      box.nWidth = m_nWidth;
      box.nHeight = m_nHeight;
    }
    const int colour = bFixedColour ? box.nColour : box.nColour + box.nCounter / 8;
    if (box.nMode == BOX_DISPLAY_FILLED) {
      target.FillRectPal(dst, box.nX, box.nY, box.nWidth, box.nHeight, colour);
    } else if (box.nMode == BOX_DISPLAY_OUTLINE) {
      target.DrawFrame(dst, box.nX, box.nY, box.nWidth, box.nHeight, 1, colour);
    }
    if (++box.nCounter >= 32) box.nCounter = 0;
  }
}

void cPlayer::DrawSightMask(cDrawTarget& target, sSurface dst) {
  const int shape = m_Chara.m_nSightShape;
  if (shape == 0) return;
  const sSurface mask{SURFACES_IMAGE, IMAGE_SIGHT_MASK};
  int w = 0, h = 0;
  if (!target.SurfaceSize(mask, w, h)) return;
  const cSpriteRect& r = m_SpriteRect;
  int sx = w / 2 - r.m_nDrawW / 2 - r.m_nLeft;
  int sy = h / 2 - r.m_nDrawH / 2 - r.m_nTop;
  if (IsSightAhead(shape)) sx += FacingSign() * (r.m_nDrawW / 2) - FacingSign() * m_nSight;
  // A mask narrower (shorter) than the screen is drawn from its left (top) edge.
  sx = std::clamp(sx, 0, std::max(w - 640, 0));
  sy = std::clamp(sy, 0, std::max(h - 480, 0));
  target.Blt(dst, 0, 0, 640, 480, mask, sx, sy, kColourKey);
}

void cPlayer::ShowItemIcon(int nKind, int nIndex, int nFrame) {
  constexpr int kAboveTheObject = 4;
  constexpr int kPopUpFrames = 30;
  cStagePlay& stage = *g_pStageScene;
  cMessageWindow& window = stage.m_MessageList.emplace_back(stage.TextTarget());
  window.Setup(MESSAGE_GRAPHIC, nullptr, nKind, nIndex, nFrame, kAboveTheObject, 0, 0, 0, 0, 0, 1, DISPLAY_TIMED,
               kPopUpFrames, 0, m_nId, 0, 0, 0, 0, 0, 0, 0, 0);
}
