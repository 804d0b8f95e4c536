#include "game/overlays/message_window.h"

#include "base/close_request.h"
#include "game/core/numeric.h"
#include "game/draw/graphic_source.h"
#include "game/objects/actor.h"
#include "game/objects/character_search.h"
#include "game/overlays/picture.h"
#include "game/overlays/text_codes.h"
#include "game/stage/stage_play.h"

namespace {

constexpr int kIconSize = 16;
constexpr int kOpeningFrames = 10;
constexpr int kTopMargin = 20;  // the keep-on-screen bound under the status line

int ViewX() { return TruncToInt(g_pStageScene->m_ScrollX.m_dPos); }
int ViewY() { return TruncToInt(g_pStageScene->m_ScrollY.m_dPos); }

}  // namespace

cMessageWindow::cMessageWindow(cTextTarget& text) : m_pText(&text) {
  Setup(MESSAGE_NONE, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
}

void cMessageWindow::Setup(int nKind, const char* lpText, int nGraphicKind, int nGraphicNo, int nGraphicSub,
                           int nPosMode, int nColumn, int nRow, int nOffsetX, int nOffsetY, int bKeepOnScreen,
                           int bFixed, int nDisplayMode, int nTime, int bCountWhilePaused, int nObjectId,
                           int bNoOpening, int bExpand, int bRefresh, int nRefreshInterval, int bBox, int bIdSwitch,
                           int nWindowId, int bKeepSurface) {
  if (lpText) {
    m_strText = lpText;
    m_strSource = lpText;
  }
  m_nKind = nKind;
  m_nGraphicKind = nGraphicKind;
  m_nGraphicNo = nGraphicNo;
  m_nGraphicSub = nGraphicSub;
  m_nPosMode = nPosMode;
  m_nColumn = nColumn;
  m_nRow = nRow;
  m_nOffsetX = nOffsetX;
  m_nOffsetY = nOffsetY;
  m_bKeepOnScreen = bKeepOnScreen;
  m_bFixed = bFixed;
  m_nDisplayMode = nDisplayMode;
  m_nTime = nTime;
  m_bCountWhilePaused = bCountWhilePaused;
  m_nObjectId = nObjectId;
  m_bExpand = bExpand;
  m_bRefresh = bRefresh;
  m_nRefreshInterval = nRefreshInterval;
  m_bBox = bBox;
  m_bIdSwitch = bIdSwitch;
  m_nWindowId = nWindowId;
  m_Captured.Release();
  m_dOpening = 0;
  m_bOpening = nDisplayMode == 0 && !bNoOpening;
  if (bExpand) ExpandTextCodes(m_strText);
  if (nKind == MESSAGE_TEXT) {
    Measure();
  } else if (nKind == MESSAGE_GRAPHIC || nKind == MESSAGE_SYSTEM_ICON) {
    m_nWidth = kIconSize;
    m_nHeight = kIconSize;
  }
  if (nKind != MESSAGE_TEXT) return;
  if (!bKeepSurface) CreateSurface();
  RenderText();
}

void cMessageWindow::SetupExpand() {
  const std::string source = m_strSource;
  Setup(m_nKind, source.c_str(), m_nGraphicKind, m_nGraphicNo, m_nGraphicSub, m_nPosMode, m_nColumn, m_nRow,
        m_nOffsetX, m_nOffsetY, m_bKeepOnScreen, m_bFixed, m_nDisplayMode, m_nTime, m_bCountWhilePaused,
        m_nObjectId, !m_bOpening, 1, m_bRefresh, m_nRefreshInterval, m_bBox, m_bIdSwitch, m_nWindowId, 1);
}

void MeasureMessageText(cTextTarget& target, const std::string& text, int& width, int& height) {
  target.MeasureText(MESSAGE_FONT, text.c_str(), width, height);
  width += 2;
  height += 2;
}

void cMessageWindow::Measure() { MeasureMessageText(*m_pText, m_strText, m_nWidth, m_nHeight); }

void cMessageWindow::CreateSurface() {
  m_bHasSurface = m_pText->CreateMessageSurface(m_nWidth, m_nHeight, m_Surface);
  if (!m_bHasSurface) RequestMainWindowCloseForError();
}

void cMessageWindow::ReleaseSurface() {
  if (m_bHasSurface) m_pText->ReleaseMessageSurface(m_Surface);
  m_bHasSurface = 0;
}

void cMessageWindow::RenderText() {
  if (!m_bHasSurface) return;
  if (m_bBox) {
    m_pText->DrawTextBox(MESSAGE_FONT, m_Surface, 1, 1, m_strText.c_str());
    return;
  }
  m_pText->ClearSurface(m_Surface);
  m_pText->DrawText(MESSAGE_FONT, m_Surface, 1, 1, m_strText.c_str());
}

void cMessageWindow::Refresh() {
  std::string text = m_strSource;
  ExpandTextCodes(text);
  if (text == m_strText) return;
  m_strText = std::move(text);
  const int oldWidth = m_nWidth, oldHeight = m_nHeight;
  Measure();
  if (m_nWidth != oldWidth || m_nHeight != oldHeight) {
    ReleaseSurface();
    CreateSurface();
  }
  RenderText();
}

bool cMessageWindow::Position(int& x, int& y) const {
  const int w = m_nWidth, h = m_nHeight;
  switch (m_nPosMode) {
    case 0:
      x = m_nOffsetX - w / 2 + 320;
      y = m_nOffsetY - h / 2 + 240;
      return true;
    case 7:
      x = m_nOffsetX + m_nColumn * kTileSize;
      y = m_nOffsetY + m_nRow * kTileSize;
      return true;
    case 8:
      x = (g_pStageScene->m_ScrollX.m_nMargin + m_nColumn) * kTileSize + m_nOffsetX - ViewX();
      y = (g_pStageScene->m_ScrollY.m_nMargin + m_nRow) * kTileSize + m_nOffsetY - ViewY();
      return true;
    default: break;
  }
  const cActor* object = FindCharacterById(m_nObjectId);
  if (!object) return false;
  const cSpriteRect& sprite = object->m_SpriteRect;
  const int objectX = TruncToInt(object->m_dX) - ViewX();
  const int objectY = TruncToInt(object->m_dY) - ViewY();
  x = objectX + object->m_nWidth / 2 - w / 2 + m_nOffsetX - sprite.m_nOffX;
  switch (m_nPosMode) {
    case 1:
    case 4: y = objectY - h + m_nOffsetY; break;
    case 2:
    case 5: y = objectY + object->m_nHeight + 1 + m_nOffsetY; break;
    default: y = objectY + object->m_nHeight / 2 - h / 2 + m_nOffsetY; break;
  }
  y -= sprite.m_nOffY;
  return true;
}

void cMessageWindow::Fix(int& x, int& y) {
  const bool bScreenAnchored = m_nPosMode == 0 || m_nPosMode == 7;
  if (bScreenAnchored && !m_bFixed) {
    // Kept in stage pixels, so that the window moves with the stage.
    x += ViewX();
    y += ViewY();
    m_Captured.Hold(x, y);
    x -= ViewX();
    y -= ViewY();
  } else if (!bScreenAnchored && m_bFixed) {
    m_Captured.Hold(x, y);
  }
}

int cMessageWindow::UpdateAndDraw(cDrawTarget& target, sSurface dst, int bPaused) {
  if (m_nDisplayMode == DISPLAY_TIMED) {
    if (!bPaused || m_bCountWhilePaused) --m_nTime;
    if (m_nTime < 0) {
      ReleaseSurface();
      return 1;
    }
  }
  if (m_bRefresh && m_nRefreshInterval != 0 && g_pStageScene->m_nFrameCount % m_nRefreshInterval == 0 &&
      m_nKind == MESSAGE_TEXT && m_bExpand) {
    Refresh();
  }
  int x = 0, y = 0;
  if (!Position(x, y)) {
    ReleaseSurface();
    return 1;
  }
  Fix(x, y);
  if (m_bKeepOnScreen) {
    if (x < 0) x = 0;
    if (x + m_nWidth > 638) x = 640 - m_nWidth;
    if (y < kTopMargin) y = kTopMargin;
    if (y + m_nHeight > 478) y = 480 - m_nHeight;
  }
  // A pop-up rises a pixel every four frames of its 30.
  const int rise = (30 - m_nTime) >> 2;
  switch (m_nKind) {
    case MESSAGE_TEXT:
      if (m_bHasSurface && m_pText->TakeSurfaceRestored(m_Surface)) RenderText();
      if (m_strText.empty()) break;
      if (m_bOpening) {
        m_dOpening += 1;
        if (m_dOpening < kOpeningFrames) {
          const double ratio = m_dOpening * 0.1;
          m_pText->DrawBox(MESSAGE_FONT, dst, TruncToInt(x + m_nWidth / 2 - ratio * m_nWidth / 2),
                           TruncToInt(y + m_nHeight / 2 - ratio * m_nHeight / 2), TruncToInt(ratio * m_nWidth),
                           TruncToInt(ratio * m_nHeight));
          break;
        }
      }
      if (m_bHasSurface) target.Blt(dst, x, y, m_nWidth, m_nHeight, m_Surface, 0, 0, kColourKey);
      break;
    case MESSAGE_GRAPHIC:
      DrawGraphicIcon(target, dst, x, y - rise, m_nGraphicKind, m_nGraphicNo, m_nGraphicSub);
      break;
    case MESSAGE_SYSTEM_ICON:
      target.Blt(dst, x, y - rise, kIconSize, kIconSize, {SURFACES_IMAGE, IMAGE_ACCESSORY}, 0, 48, kColourKey);
      break;
    default: break;
  }
  return 0;
}
