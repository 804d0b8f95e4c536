// What the five front-end scenes (title, world map, story menu, stage
// select, options) share: the frame that filters player 1's input for menus
// before the state runs, the fade steps of their first and last states, the
// hand-over to the next scene, the list of enabled menu entries, the work
// surface that keeps a screen's static contents, and the cursor pictures.
#pragma once

#include <initializer_list>
#include <vector>

#include "game/draw/draw_target.h"
#include "graphics/surface.h"
#include "scenes/front_end/menu_cursor.h"
#include "scenes/scene.h"

class cEdMenuItem;

// The front end's work surfaces: element 0 is the running scene's.
extern DDSurfaceVector g_vecScenePictureSD;
extern ImageVector g_vecScenePictureImage;

// The cursor pictures of bmp\Accessory.bmp.
enum eCursorPicture {
  CURSOR_PICTURE_LARGE,    // 32x32, title menu and stage list
  CURSOR_PICTURE_LIST,     // 16x16, list menus
  CURSOR_PICTURE_POINTER,  // 16x16, the entry a sub-menu belongs to
};

// Image numbers the front end loads besides IMAGE_ACCESSORY.
constexpr int IMAGE_WINDOW = 45, IMAGE_TITLE = 47, IMAGE_GAME_MODE = 48, IMAGE_SYMBOL = 50;

// The enabled entries of a settings menu list, in list order; the single
// entry 0 when none is enabled. Returns their count. The scene knows
// entries 0 to nSize - 1: entries past them (a damaged or later list) are
// left out.
int FillEnabledItems(const std::vector<cEdMenuItem>& items, int* anItem, int nSize);

class cFrontEndScene : public cScene {
 public:
  ~cFrontEndScene() override;
  // Filters the menu input with the scene's one-shot mask, then runs the
  // scene's frame.
  void Frame() override;

 protected:
  cFrontEndScene(int nOneShotMask, std::initializer_list<int> images);

  // The music request and the scene's images; a failed load asks the
  // window to close. Resets the menu cursors.
  void EnterCommon(int nBgmRequest);
  // One step of the fade in; true when it has ended.
  static bool FadeInStep();
  // One step of the fade out; when it has ended the back buffer is cleared
  // to palette colour 16 and true returned.
  static bool FadeOutStep();
  // The scene manager moves from kind nOwnKind to its next scene.
  static void HandOver(int nOwnKind);

  // Releases every work surface and adds one of w x h in system memory;
  // null (after asking the window to close) when it cannot be made.
  static DDSURFACEDATA* AddWorkSurface(int w, int h, int bTransmit);
  static DDSURFACEDATA* WorkSurface();
  static void ReleaseWorkSurfaces();
  // True once after the device was recovered and the work surface came back
  // empty: its owner draws it again.
  static bool TakeWorkSurfaceLost();
  // The same for any surface the scene draws into itself.
  static bool TakeSurfaceLost(DDSURFACEDATA* lpSD);

  static void DrawCursor(eCursorPicture picture, const CURSORPOS& at);
  // The cursor sound of the directions pressed this frame (axes 2: up and
  // down only; 3: both).
  static void PlayCursorSound(int nAxes);
  static int Directions();
  static bool Decided();
  static bool Cancelled();
  // The ranking keys of the world map and the stage select, whose rankings
  // follow the settings of nRankingMode: show or hide the ranking (switched
  // off where the mode has none), or step its kind. True when the ranking's
  // picture must be drawn again.
  static bool RankingKeys(int nRankingMode);

 private:
  int m_nOneShotMask;
  std::vector<int> m_vImages;
};
