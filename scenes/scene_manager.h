// The top of the game thread's work: one Frame a frame waits for the frame
// time, restores lost surfaces, polls input, switches to the requested scene, runs it, keeps the frame-rate figures and presents the
// back buffer. Only one scene exists at a time: a scene's last state sets
// m_nScene to the next kind and the next Frame deletes it and creates that
// scene, which runs its Enter and first state in that same frame.
//
// Scenes are made by the factory registered for their kind (the scene
// classes register theirs; tests register their own). A kind without a
// factory, or outside 0..5, runs no scene.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "scenes/scene.h"

class cInputState;
struct DDSURFACEDATA;

class cSceneManager {
 public:
  using SceneFactory = std::function<std::unique_ptr<cScene>()>;

  ~cSceneManager();

  // 1 after a normal frame; 0 when lost DirectDraw surfaces could not be
  // restored (the game loop then closes the window).
  int Frame();
  // Deletes every scene of another kind, then creates `kind` if it is not
  // there. A thrown error is logged and the window asked to close.
  void ChangeScene(int kind);
  void DeleteAllScenes();
  static void PollInput(std::vector<cInputState>& inputs);
  // DirectDraw: after the display took the surfaces away, restores the
  // display's surfaces, the image table (graphics/device_recovery.h), the
  // stage's image sets and the digit strips; 0 when one could not be reloaded. 1 at once in Direct3D
  // mode, which recovers through the main window instead.
  static int RestoreLostSurfaces();
  // Each lost strip of the count given is restored and, unless it lives in
  // system memory, drawn again with the font of its number.
  static bool RestoreFontSurfaces(DDSURFACEDATA* lpSurfaces, int nCount);
  // Shows the back buffer; a Direct3D device that is lost asks the main
  // window to restore it.
  void Present() const;

  cScene* Scene(int kind) const;
  static void SetSceneFactory(int kind, SceneFactory factory);

  std::int32_t m_nScene = SCENE_TITLE;
  std::int32_t m_nNextScene = SCENE_TITLE;
  std::int32_t m_nPrevScene = SCENE_TITLE;
  std::int32_t m_nPlayStart = 0;
  std::int32_t m_nPlayMode = 0;
  std::int32_t m_nStageSelectRow = 0;
  std::int32_t m_nStageSelectTop = 0;
  std::int32_t m_bUseRanking = 0;
  std::int32_t m_nFps = 0;        // 60 from start-up; a stage sets its own
  std::int32_t m_nFadeSpeed = 0;  // 10 from start-up

 private:
  // Slots in the order title, world map, story menu, stage select, options,
  // stage; reached by kind.
  static int SlotOf(int kind);
  std::array<std::unique_ptr<cScene>, SCENE_KIND_COUNT> m_apScene;
};

extern cSceneManager g_SceneManager;

// DirectDraw presents by copying instead of flipping (set by start-up).
extern int g_bPresentByBlt;

// Waits until the next frame may start at m_nFps (no wait in Direct3D with
// vertical sync on: presenting waits). Sleeps instead of spinning.
void WaitFrameTime();

// The frame-rate display: the last 16 frames' work times and their average,
// taken only while System.ini's ShowFps is on.
struct sFpsFigures {
  std::array<std::uint32_t, 16> anWorkTime{};
  int nIndex = 0;
  std::uint32_t nAverage = 0;
  void Add(std::uint32_t ms);
};
extern sFpsFigures g_FpsFigures;

// The frame-rate text "FPS<frames last second>(<average work ms>)" on the
// back buffer's bottom right: ShowFps 2 in font 0 plainly, any other value
// in font 1's box.
void DrawFrameRate(int nShowFps, int nFps, std::uint32_t nAverage);
