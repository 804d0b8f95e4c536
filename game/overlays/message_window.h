// A message window over the stage: a text (kind 1), a game graphic drawn as
// a 16 x 16 icon (kind 2, the pop-up of a taken item), a system icon
// (kind 3) or nothing (kind 0, a pure timer for the game wait). The stage
// keeps the windows in its message list and calls UpdateAndDraw each frame.
//
// Position modes: 0 the screen centre; 1 and 4 above, 2 and 5 below, 3 and 6
// centred on the object with m_nObjectId; 7 screen cells; 8 stage cells;
// each plus the pixel offsets. A fixed window keeps the place of its first
// drawing on the screen; modes 0 and 7 without fixed move with the stage.
// Keep on screen holds the window inside x 0..640 and y 20..480.
//
// A text window measures its text with font 1 (+2 pixels each way) and
// holds it on a message surface of that size; it opens with a growing box
// over ten frames unless told not to. With refresh on it expands its codes
// anew every interval frames and redraws when the text changed.
#pragma once

#include <cstdint>
#include <string>

#include "game/draw/draw_target.h"
#include "game/draw/text_target.h"
#include "game/overlays/captured_position.h"

enum eMessageKind { MESSAGE_NONE, MESSAGE_TEXT, MESSAGE_GRAPHIC, MESSAGE_SYSTEM_ICON };

class cMessageWindow {
 public:
  explicit cMessageWindow(cTextTarget& text);

  void Setup(int nKind, const char* lpText, int nGraphicKind, int nGraphicNo, int nGraphicSub, int nPosMode,
             int nColumn, int nRow, int nOffsetX, int nOffsetY, int bKeepOnScreen, int bFixed, int nDisplayMode,
             int nTime, int bCountWhilePaused, int nObjectId, int bNoOpening, int bExpand, int bRefresh,
             int nRefreshInterval, int bBox, int bIdSwitch, int nWindowId, int bKeepSurface);
  // Set up again from the source text with codes expanded, on the same surface.
  void SetupExpand();
  // 1 when the window has ended (its surface released).
  int UpdateAndDraw(cDrawTarget& target, sSurface dst, int bPaused);
  // Gives back the text surface (before the window is erased).
  void ReleaseSurface();

  sSurface m_Surface;
  std::int32_t m_bHasSurface = 0;
  std::int32_t m_nKind = MESSAGE_NONE;
  std::string m_strText;
  std::string m_strSource;  // unexpanded
  std::int32_t m_nGraphicKind = 0, m_nGraphicNo = 0, m_nGraphicSub = 0;
  std::int32_t m_bExpand = 0;
  std::int32_t m_bRefresh = 0;
  std::int32_t m_nRefreshInterval = 0;
  std::int32_t m_bBox = 0;
  std::int32_t m_nPosMode = 0;
  std::int32_t m_nColumn = 0, m_nRow = 0;
  std::int32_t m_nOffsetX = 0, m_nOffsetY = 0;
  std::int32_t m_nWidth = 0, m_nHeight = 0;
  std::int32_t m_bKeepOnScreen = 0;
  std::int32_t m_nDisplayMode = 0;  // 0 until the advance key, 1 until the stage ends, 2 timed
  std::int32_t m_bFixed = 0;
  sCapturedPosition m_Captured;
  std::int32_t m_bIdSwitch = 0;
  std::int32_t m_nWindowId = 0;
  std::int32_t m_nObjectId = 0;
  std::int32_t m_nTime = 0;
  std::int32_t m_bCountWhilePaused = 0;
  std::int32_t m_bOpening = 0;
  double m_dOpening = 0;

 private:
  void Measure();
  void CreateSurface();
  void RenderText();
  void Refresh();
  // The screen position by the position mode; false when the object the
  // window stands by is gone.
  bool Position(int& x, int& y) const;
  void Fix(int& x, int& y);

  cTextTarget* m_pText;
};

// The font message windows write with.
constexpr int MESSAGE_FONT = 1;

// The size of a text window for the text: the text in the message font and
// a pixel round it.
void MeasureMessageText(cTextTarget& target, const std::string& text, int& width, int& height);
