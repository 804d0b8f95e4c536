#include "game/objects/item.h"

#include "game/draw/graphic_source.h"
#include "game/stage/stage_play.h"
#include "model/stage/stage.h"

namespace {

// Frame 0 for 15 ticks, frame 1 for 15 ticks, again.
const int kItemFrames[][3] = {{0, 15, 0}, {1, 15, 0}, {ANIME_LOOP, 0, 0}};
const int (*const kItemAnimeTables[])[3] = {kItemFrames, nullptr};

}  // namespace

void cItem::InitFromDefinition(int nId, const cEdItem* pDef, bool bCarried) {
  m_Item = *pDef;
  // The copy is repaired, not the palette entry it came from.
  if (m_Item.m_nSize == 0) m_Item.m_nSize = 1;
  const int w = g_LoadedStage.m_nItemBoxW;
  const int h = g_LoadedStage.m_nItemBoxH;
  InitBase(nId, 0, 0, 0, m_Item.m_nGraphicNo, kItemAnimeTables, 0, 16 - w / 2, 16 - h / 2, w, h, 32, 32, 0, 1, 0);
  m_bScrollSync = 0;
  m_bCarried = bCarried ? 1 : 0;
  if (bCarried) {
    m_bAppeared = 1;
  } else {
    SetScale(m_Item.m_nSize, 1);
  }
}

void cItem::PlaceAtCell(int cx, int cy) {
  m_dX = (cx + g_pStageScene->m_ScrollX.m_nMargin) * 32.0 + m_SpriteRect.m_nBaseOffX + 0.5;
  m_dY = (cy + g_pStageScene->m_ScrollY.m_nMargin) * 32.0 + m_SpriteRect.m_nBaseOffY;
  AdjustForScale(m_Item.m_nSize, 1);
  ClampToStageX(2);
  ClampToStageY(2);
}

void cItem::AdjustYForScale(int nNew, int nOld) {
  if (nNew == nOld) return;
  m_dY -= static_cast<double>((m_nBaseHeight + m_SpriteRect.m_nBaseOffY) * (nNew - nOld));
  ClampToStageY(2);
}

void cItem::Draw(cDrawTarget& target, sSurface dst, bool bPaused) {
  if (m_Item.m_bHidden) return;
  const int frame = bPaused ? m_Anime.GetFrame() : m_Anime.Step();
  sGraphicSource src;
  GetGraphicSource(target, src, 2, m_Item.m_nGraphicKind, m_nGraphicNo, m_Item.m_nGraphicSub, this, frame);
  UpdateScreenRect();
  const cSpriteRect& r = m_SpriteRect;
  const int size = m_Item.m_nSize;
  const int m = src.nMultiplier;
  if ((src.bCellMultiplier && m != size) || (!src.bCellMultiplier && size > 1)) {
    target.BltStretch(dst, r.m_nLeft, r.m_nTop, r.m_nDrawW, r.m_nDrawH, src.alt, src.x, src.y, m * r.m_nBaseDrawW,
                      m * r.m_nBaseDrawH, kColourKey);
  } else {
    target.Blt(dst, r.m_nLeft, r.m_nTop, r.m_nDrawW, r.m_nDrawH, src.main, src.x, src.y, kColourKey);
  }
  if (m_Item.m_bOverlay == 1) DrawMark(target, dst, r, m_Item.m_nOverlayCell, size);
}
