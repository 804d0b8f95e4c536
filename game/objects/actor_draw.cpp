// Drawing an actor: its sprite through the routine of its running character
// effect, its overlay mark, the death display and the HP and SP gauges.
#include <algorithm>
#include <cmath>

#include "game/core/numeric.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"
#include "model/database/effect_kinds.h"

namespace {

sSurface Image(int n) { return {SURFACES_IMAGE, n}; }

// Parameter k (from 1) of the running effect's entry.
int EffectParam(const cCharaEffectRun& run, int k) { return run.Entry().m_anParam[k - 1]; }

// A counter parameter below 1 (a damaged or hand-made entry) counts as 1.
int AtLeastOne(int value) { return value < 1 ? 1 : value; }

}  // namespace

int cActor::CharaEffectKind() const { return m_CharaEffect.nIndex == 0 ? CHARA_EFFECT_NONE : m_CharaEffect.Entry().m_nKind; }

bool cActor::RunCharaEffect(cDrawTarget* pTarget, sSurface dst, const sGraphicSource& src, bool bPaused) {
  const int kind = CharaEffectKind();
  const cSpriteRect& r = m_SpriteRect;
  const int scale = m_Chara.m_nScale;
  const int m = src.nMultiplier;
  const bool scaled = (!src.bCellMultiplier && scale > 1) || (src.bCellMultiplier && m != scale);
  const int baseW = m * r.m_nBaseDrawW;
  const int baseH = m * r.m_nBaseDrawH;

  if (kind == CHARA_EFFECT_NONE) {
    if (!pTarget) return false;
    if (scaled) {
      if (src.bColourChange) {
        pTarget->BltBlend(dst, r.m_nLeft, r.m_nTop, r.m_nDrawW, r.m_nDrawH, src.alt, src.x, src.y, baseW, baseH,
                          kColourKey, src.colour);
      } else {
        pTarget->BltStretch(dst, r.m_nLeft, r.m_nTop, r.m_nDrawW, r.m_nDrawH, src.alt, src.x, src.y, baseW, baseH,
                            kColourKey);
      }
    } else if (src.bColourChange) {
      pTarget->BltEx(dst, r.m_nLeft, r.m_nTop, r.m_nDrawW, r.m_nDrawH, src.main, src.x, src.y, kColourKey, src.colour);
    } else {
      pTarget->Blt(dst, r.m_nLeft, r.m_nTop, r.m_nDrawW, r.m_nDrawH, src.main, src.x, src.y, kColourKey);
    }
    return false;
  }

  cCharaEffectRun& run = m_CharaEffect;
  // Blink and translucency toggle a state every parameter-2 frames; the
  // waves advance their phase a degree a frame.
  const bool blinkKind = kind == CHARA_EFFECT_BLINK || kind == CHARA_EFFECT_TRANSLUCENT;
  const bool waveKind = kind == CHARA_EFFECT_WAVE_H || kind == CHARA_EFFECT_WAVE_V;

  if (pTarget) {
    const double factor = scaled ? scale : 1;
    sEffectBlitArgs a;
    a.dst = dst;
    a.x = r.m_nLeft;
    a.y = r.m_nTop;
    a.width = r.m_nDrawW;
    a.height = r.m_nDrawH;
    a.value = run.dValue * factor;
    a.centreX = r.m_nLeft + r.m_nDrawW / 2;
    a.centreY = r.m_nTop + r.m_nDrawH / 2;
    // The lens reads around the sprite: it always draws from the work image,
    // cleared, so that only the sprite shows through it.
    const bool lens = kind == CHARA_EFFECT_LENS;
    if (scaled || lens) {
      // The sprite at its drawn size in the work image, the effect from there.
      const sSurface work = Image(IMAGE_WORK);
      int workW = 0, workH = 0;
      if (lens && pTarget->SurfaceSize(work, workW, workH)) pTarget->FillRectPal(work, 0, 0, workW, workH, 0);
      const int sw = scaled ? baseW : r.m_nDrawW, sh = scaled ? baseH : r.m_nDrawH;
      if (src.bColourChange) {
        pTarget->BltBlend(work, 0, 0, r.m_nDrawW, r.m_nDrawH, src.alt, src.x, src.y, sw, sh, kColourKey, src.colour);
      } else {
        pTarget->BltStretch(work, 0, 0, r.m_nDrawW, r.m_nDrawH, src.alt, src.x, src.y, sw, sh, kColourKey);
      }
      a.src = work;
      a.mirror = work;
    } else {
      a.src = src.alt;
      a.srcX = src.x;
      a.srcY = src.y;
      a.mirror = src.mirrorAlt;
      if (src.bColourChange) pTarget->SetBltColour(src.colour);
    }
    switch (kind) {
      case CHARA_EFFECT_BURST: pTarget->EffectBlt(EFFECT_BLIT_QUARTERS, a); break;
      case CHARA_EFFECT_SPLIT_H:
      case CHARA_EFFECT_SPLIT_V: {
        const int parts = AtLeastOne(EffectParam(run, 4));
        a.band = (r.m_nDrawH + parts - 1) / parts;
        a.vertical = kind == CHARA_EFFECT_SPLIT_V;
        pTarget->EffectBlt(EFFECT_BLIT_INTERLACE, a);
        break;
      }
      case CHARA_EFFECT_WAVE_H:
      case CHARA_EFFECT_WAVE_V:
        // Parameter 4 is the number of waves, parameter 5 their band height.
        a.period = EffectParam(run, 4);
        a.band = TruncToInt(EffectParam(run, 5) * factor);
        a.phase = run.anState[0];
        a.vertical = kind == CHARA_EFFECT_WAVE_V;
        pTarget->EffectBlt(EFFECT_BLIT_WAVE, a);
        break;
      case CHARA_EFFECT_BLINK:
        if (run.anState[1]) {
          pTarget->Blt(dst, r.m_nLeft, r.m_nTop, r.m_nDrawW, r.m_nDrawH, a.src, a.srcX, a.srcY, kColourKey);
        }
        break;
      case CHARA_EFFECT_ROTATE_A:
      case CHARA_EFFECT_ROTATE_B: pTarget->EffectBlt(EFFECT_BLIT_ROTATE, a); break;
      case CHARA_EFFECT_ROTATE_DEPTH: pTarget->EffectBlt(EFFECT_BLIT_CARD_FLIP, a); break;
      case CHARA_EFFECT_CIRCLE:
        a.band = AtLeastOne(EffectParam(run, 4));
        pTarget->EffectBlt(EFFECT_BLIT_CIRCLE, a);
        break;
      case CHARA_EFFECT_ZOOM: {
        const int grow = TruncToInt(a.value) - 32;
        pTarget->BltStretch(dst, r.m_nLeft - grow / 2, r.m_nTop - grow / 2, r.m_nDrawW + grow, r.m_nDrawH + grow,
                            a.src, a.srcX, a.srcY, r.m_nDrawW, r.m_nDrawH, kColourKey);
        break;
      }
      case CHARA_EFFECT_LENS:
        a.centreX += TruncToInt(EffectParam(run, 4) * static_cast<double>(scale));
        a.centreY += TruncToInt(EffectParam(run, 5) * static_cast<double>(scale));
        pTarget->EffectBlt(EFFECT_BLIT_LENS, a);
        break;
      case CHARA_EFFECT_COLOR:
        a.tint = EffectParam(run, 4) & 0xFF;
        pTarget->EffectBlt(EFFECT_BLIT_ALPHA, a);
        break;
      case CHARA_EFFECT_TRANSLUCENT:
        if (!run.anState[1]) pTarget->EffectBlt(EFFECT_BLIT_TRANSLUCENT, a);
        break;
      case CHARA_EFFECT_MOSAIC: pTarget->EffectBlt(EFFECT_BLIT_MOSAIC, a); break;
      case CHARA_EFFECT_BLUR:
        if (pTarget->BitsPerPixel() == 8) {
          a.tint = 31;
          pTarget->EffectBlt(EFFECT_BLIT_ALPHA, a);
        } else {
          pTarget->EffectBlt(EFFECT_BLIT_BLUR, a);
        }
        break;
      default: break;
    }
    if (!scaled && !lens && src.bColourChange) pTarget->ResetBltColour();
  }

  if (bPaused) return false;
  if (blinkKind && ++run.anState[0] >= AtLeastOne(EffectParam(run, 2))) {
    run.anState[0] = 0;
    run.anState[1] = run.anState[1] ? 0 : 1;
  }
  if (waveKind) run.anState[0] = (run.anState[0] + 1) % 360;
  return run.Step() != 0;
}

void cActor::Draw(cDrawTarget& target, sSurface dst, bool bPaused) {
  const int frame = UpdateAnimation(bPaused);
  if (m_bHidden || m_Chara.m_bTransparent) {
    RunCharaEffectHidden(bPaused);
    return;
  }
  UpdateScreenRect();
  cSpriteRect& r = m_SpriteRect;
  if (m_bPinX) {
    r.m_nLeft = m_nPinX;
    r.m_nRight = m_nPinX + r.m_nDrawW - 1;
  }
  if (m_bPinY) {
    r.m_nTop = m_nPinY;
    r.m_nBottom = m_nPinY + r.m_nDrawH - 1;
  }
  sGraphicSource src;
  const int offset = GetSpriteSource(target.IsDirect3D(), src.bColourChange, src.colour);
  GetGraphicSource(target, src, 1, m_Chara.m_nGraphicKind, m_nGraphicNo, offset, this, frame);
  if (RunCharaEffect(&target, dst, src, bPaused)) m_CharaEffect = cCharaEffectRun{};
  if (m_Chara.m_bOverlay == 1) DrawMark(target, dst, r, m_Chara.m_nOverlayCell, m_Chara.m_nScale);
}

bool cActor::RunCharaEffectHidden(bool bPaused) {
  const bool finished = RunCharaEffect(nullptr, kBackBuffer, sGraphicSource{}, bPaused);
  if (finished) m_CharaEffect = cCharaEffectRun{};
  return finished;
}

bool cActor::DrawDying(cDrawTarget& target, sSurface dst, bool bPaused) {
  // An entry of no kind never finishes: it counts as no effect here.
  if (CharaEffectKind() != CHARA_EFFECT_NONE) {
    UpdateScreenRect();
    sGraphicSource src;
    const int offset = GetSpriteSource(target.IsDirect3D(), src.bColourChange, src.colour);
    GetGraphicSource(target, src, 1, m_Chara.m_nGraphicKind, m_nGraphicNo, offset, this, 0);
    if (RunCharaEffect(&target, dst, src, bPaused)) {
      m_CharaEffect = cCharaEffectRun{};
      return m_nControl != 0;
    }
    return false;
  }
  if (m_nControl != 0) return true;
  if (!bPaused) m_nDyingFrames = WrapAdd32(m_nDyingFrames, 1);
  return m_nDyingFrames > g_pStageScene->FramesPerSecond();
}

void cActor::DrawGauge(cDrawTarget& target, sSurface dst, sGauge& gauge, int nKind) {
  if (gauge.nTime == 0 || m_bDying) return;
  int sheetW = 0, sheetH = 0;
  target.SurfaceSize(Image(IMAGE_ACCESSORY), sheetW, sheetH);
  const bool tall = sheetH > 208;
  const auto row = [tall](int i) { return tall ? 208 + 2 * i : 128 + 16 * i; };
  const int sx = nKind == 0 ? 0 : 64;
  const int x = m_SpriteRect.m_nLeft + m_SpriteRect.m_nDrawW / 2 - 25;
  const int y = m_SpriteRect.m_nTop - (nKind == 0 ? 3 : 7);
  const sSurface sheet = Image(IMAGE_ACCESSORY);
  target.Blt(dst, x, y, 50, 2, sheet, sx, row(0), kColourKey);
  if (gauge.nLength > 0) {
    target.Blt(dst, x, y, gauge.nLength, 2, sheet, sx, row(gauge.nLength <= 16 ? 2 : 1), kColourKey);
  }
  const int d = TruncToInt(gauge.dChange);
  if (d > 0) target.Blt(dst, x + gauge.nLength - d, y, d, 2, sheet, sx, row(4), kColourKey);
  if (d < 0) target.Blt(dst, x + gauge.nLength, y, -d, 2, sheet, sx, row(3), kColourKey);
  StepGauge(gauge);
}

void cActor::DrawHpGauge(cDrawTarget& target, sSurface dst) { DrawGauge(target, dst, m_HpGauge, 0); }
void cActor::DrawSpGauge(cDrawTarget& target, sSurface dst) { DrawGauge(target, dst, m_SpGauge, 1); }
