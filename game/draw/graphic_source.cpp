#include "game/draw/graphic_source.h"

#include <algorithm>

#include "base/checked_access.h"
#include "game/objects/game_object.h"
#include "model/database/database.h"

namespace {

sSurface Image(int n) { return {SURFACES_IMAGE, n}; }
sSurface CharaExc(int n) { return {SURFACES_CHARA_EXC, n}; }

// Cell multiplier of a character-exclusive entry: its cell width while wide.
int ExcMultiplier(int nIndex) {
  const cEdBmpCharaExc& entry = CheckedAt(g_Database.m_vBmpCharaExc, nIndex);
  return entry.m_bWide ? std::clamp(entry.m_nCellWidth, 1, 16) : 1;
}

void ExcCell(sGraphicSource& out, int nIndex, int nFrame) {
  const int m = ExcMultiplier(nIndex);
  const int perRow = std::max(16 / m, 1);
  out.bCellMultiplier = m != 1;
  out.nMultiplier = m;
  out.x = (nFrame % perRow) * 32 * m;
  out.y = (nFrame / perRow) * 32 * m;
}

}  // namespace

void GetGraphicSource(const cDrawTarget& target, sGraphicSource& out, int nUse, int nKind, int nIndex, int nOffset,
                      const cGameObject* pObj, int nFrame) {
  out.bCellMultiplier = false;
  out.nMultiplier = 1;
  const bool facingRight = pObj && pObj->m_nFacing;
  switch (nKind) {
    case 0:
      out.main = out.mirror = Image(IMAGE_BLOCKS);
      out.alt = out.mirrorAlt = Image(IMAGE_BLOCKS + 1);
      out.x = (nIndex / 15) * 32;
      out.y = (nIndex % 15) * 32;
      break;
    case 1: {
      const int sheet = IMAGE_CHARACTERS + 2 * (nIndex / 15);
      bool mirrored = false;
      int column = nOffset;
      if (nUse == 1) {
        mirrored = facingRight;
        column = nOffset + nFrame;
      } else if (nOffset >= 20) {
        mirrored = true;
        column = nOffset - 20;
      }
      const int main = sheet + (mirrored ? 1 : 0);
      const int other = sheet + (mirrored ? 0 : 1);
      out.main = Image(main);
      out.alt = Image(main + IMAGE_ALTERNATES);
      out.mirror = Image(other);
      out.mirrorAlt = Image(other + IMAGE_ALTERNATES);
      out.x = column * 32;
      out.y = (nIndex % 15) * 32;
      int width = 0, height = 0;
      const bool exists = target.SurfaceSize(out.main, width, height);
      if (!exists || out.x < 0 || out.y < 0 || out.x >= width || out.y >= height) {
        out.main = Image(IMAGE_CHARACTERS);
        out.alt = Image(IMAGE_CHARACTERS + IMAGE_ALTERNATES);
        out.mirror = Image(IMAGE_CHARACTERS + 1);
        out.mirrorAlt = Image(IMAGE_CHARACTERS + 1 + IMAGE_ALTERNATES);
        out.x = out.y = 0;
      }
      break;
    }
    case 2:
      out.main = out.mirror = Image(IMAGE_ITEMS);
      out.alt = out.mirrorAlt = Image(IMAGE_ITEMS + 1);
      out.x = (nIndex / 15) * 64 + (nUse == 2 ? nFrame * 32 : 0);
      out.y = (nIndex % 15) * 32;
      break;
    case 3: {
      const int image = nUse == 1 && facingRight ? IMAGE_STAGE_SHOTS + 1 : IMAGE_STAGE_SHOTS;
      const int other = image == IMAGE_STAGE_SHOTS ? IMAGE_STAGE_SHOTS + 1 : IMAGE_STAGE_SHOTS;
      out.main = out.alt = Image(image);
      out.mirror = out.mirrorAlt = Image(other);
      out.x = (nIndex / 30) * 64;
      out.y = (nIndex % 30) * 32;
      break;
    }
    case 4: {
      const int base = 4 * nIndex - 4;
      const bool right = nUse == 1 && facingRight;
      out.main = CharaExc(base + (right ? 2 : 0));
      out.alt = CharaExc(base + (right ? 3 : 1));
      out.mirror = CharaExc(base + (right ? 0 : 2));
      out.mirrorAlt = CharaExc(base + (right ? 1 : 3));
      ExcCell(out, nIndex, nUse == 1 ? nOffset + nFrame : nOffset);
      break;
    }
    default: break;
  }
}

void DrawGraphicIcon(cDrawTarget& target, sSurface dst, int x, int y, int nKind, int nIndex, int nFrame) {
  switch (nKind) {
    case 0:
      target.BltStretch(dst, x, y, 16, 16, Image(IMAGE_BLOCKS + 1), (nIndex / 15) * 64, (nIndex % 15) * 32, 32, 32,
                        kColourKey);
      break;
    case 1:
      target.BltStretch(dst, x, y, 16, 16,
                        Image(IMAGE_CHARACTERS + 2 * (nIndex / 15) + IMAGE_ALTERNATES), nFrame * 32,
                        (nIndex % 15) * 32, 32, 32, kColourKey);
      break;
    case 2:
      target.Blt(dst, x, y, 16, 16, Image(IMAGE_ITEM_ICONS), (nIndex / 15) * 32, (nIndex % 15) * 16, kColourKey);
      break;
    case 3:
      target.BltStretch(dst, x, y, 16, 16, Image(IMAGE_STAGE_SHOTS), (nIndex / 30) * 64, (nIndex % 30) * 32, 32, 32,
                        kColourKey);
      break;
    case 4: {
      sGraphicSource src;
      ExcCell(src, nIndex, nFrame);
      const int cell = 32 * src.nMultiplier;
      target.BltStretch(dst, x, y, 16, 16, CharaExc(4 * nIndex - 3), src.x, src.y, cell, cell, kColourKey);
      break;
    }
    default: break;
  }
}

int ShotSurfaceIndex(const cDrawTarget& target, int nImage, bool bAlt) {
  if (target.IsDirect3D()) return nImage;
  int width = 0, height = 0;
  if (!bAlt) return target.SurfaceSize(Image(nImage), width, height) ? nImage : nImage + IMAGE_ALTERNATES;
  return target.SurfaceSize(Image(nImage + IMAGE_ALTERNATES), width, height) ? nImage + IMAGE_ALTERNATES : nImage;
}

void DrawMark(cDrawTarget& target, sSurface dst, const cSpriteRect& rect, int n, int nScale) {
  const int sx = (n / 15) * 32;
  const int sy = (n % 15) * 32;
  if (nScale <= 1) {
    target.Blt(dst, rect.m_nLeft, rect.m_nTop, 32, 32, Image(IMAGE_MARKS), sx, sy, kColourKey);
  } else {
    target.BltStretch(dst, rect.m_nLeft, rect.m_nTop, rect.m_nDrawW, rect.m_nDrawH, Image(IMAGE_MARKS_SCALED), sx, sy,
                      rect.m_nBaseDrawW, rect.m_nBaseDrawH, kColourKey);
  }
}
