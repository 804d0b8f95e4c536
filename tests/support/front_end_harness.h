// Drives the front-end scenes frame by frame: a graphics device, a main
// window that records what the scenes ask of it (sounds, music, closing)
// and answers their dialog requests, and frames with scripted input.
//
// The test's thread is the game thread and the main thread at once: the
// window's requests run at once inside SendMessage, and what is posted to
// it (a close, a key's press) is served at once too, as the main thread
// would serve it between two frames or while an in-stage loop runs. A
// close ends a running in-stage loop as the main window's does; any other
// close would end the program and is counted. Scene factories are
// registered by the test; every scene is deleted when the harness ends.
#pragma once

#include <functional>
#include <thread>
#include <vector>

#include "base/close_request.h"
#include "base/input_state.h"
#include "base/requests.h"
#include "model/record/record.h"
#include "model/settings/system_data.h"
#include "model/user/options.h"
#include "model/user/save_data.h"
#include "platform/main_thread.h"
#include "scenes/front_end/menu_cursor.h"
#include "scenes/front_end/menu_input.h"
#include "scenes/scene_manager.h"
#include "shell/main_window.h"
#include "support/graphics_device.h"

class FrontEndHarness {
 public:
  explicit FrontEndHarness(const GraphicsMode& mode = kGraphicsModes[3]) : m_Device(mode) {
    m_SavedInput = g_InputStates;
    g_InputStates.assign(1, cInputState());
    g_InputStates[0].SetRepeat(18, 6);
    ResetCloseRequests();
    g_SceneManager.DeleteAllScenes();
    g_SceneManager.m_nScene = g_SceneManager.m_nNextScene = g_SceneManager.m_nPrevScene = SCENE_TITLE;
    g_SceneManager.m_nPlayStart = g_SceneManager.m_nPlayMode = g_SceneManager.m_bUseRanking = 0;
    g_SceneManager.m_nStageSelectRow = g_SceneManager.m_nStageSelectTop = 0;
    g_SceneManager.m_nFps = 60;
    g_SceneManager.m_nFadeSpeed = 10;
    g_nDataVersion = DATA_VERSION;  // a project of the current version
    g_SystemData = cSystemData();
    g_SaveData = cSaveData();
    g_OptionData = cOptionData();
    m_hWnd = platform::CreateWindowHandle(
        [this](platform::HWND, platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
          return Serve(message, wParam, lParam);
        });
    g_hWnd = m_hWnd;
    platform::SetMainThreadWaker([thread = std::this_thread::get_id()] {
      if (std::this_thread::get_id() == thread) platform::RunMainThreadTasks();
    });
  }
  ~FrontEndHarness() {
    platform::SetMainThreadWaker(nullptr);
    g_SceneManager.DeleteAllScenes();
    platform::RunMainThreadTasks();  // the posted closes
    g_hWnd = nullptr;
    platform::DestroyWindowHandle(m_hWnd);
    for (int kind = 0; kind < SCENE_KIND_COUNT; ++kind) cSceneManager::SetSceneFactory(kind, nullptr);
    g_InputStates = m_SavedInput;
    g_MenuCursor.Reset();
  }
  FrontEndHarness(const FrontEndHarness&) = delete;
  FrontEndHarness& operator=(const FrontEndHarness&) = delete;

  bool Started() const { return m_Device.Started(); }
  ScopedGraphicsDevice& Device() { return m_Device; }

  // The next frame starts a new scene of this kind.
  void Start(int kind) {
    g_SceneManager.DeleteAllScenes();
    g_SceneManager.m_nScene = kind;
  }
  // One frame of the running scene with these raw input bits (directions
  // CURSOR_*, buttons MENU_*), as the scene manager runs it.
  void Frame(int dir = 0, int buttons = 0) {
    g_InputStates[0].wDir = static_cast<std::uint16_t>(dir);
    g_InputStates[0].wButton = static_cast<std::uint16_t>(buttons);
    g_SceneManager.ChangeScene(g_SceneManager.m_nScene);
    if (cScene* scene = g_SceneManager.Scene(g_SceneManager.m_nScene)) scene->Frame();
  }
  // Frames with nothing pressed.
  void Idle(int frames) {
    for (int i = 0; i < frames; ++i) Frame();
  }
  // A key pressed for one frame and released for the next.
  void Press(int dir, int buttons = 0) {
    Frame(dir, buttons);
    Frame();
  }
  // Frames until the running scene is of another kind (at most limit); the
  // kind reached.
  int RunUntilSceneChanges(int limit = 30) {
    const int kind = g_SceneManager.m_nScene;
    for (int i = 0; i < limit && g_SceneManager.m_nScene == kind; ++i) Frame();
    return g_SceneManager.m_nScene;
  }
  cScene* Scene() const { return g_SceneManager.Scene(g_SceneManager.m_nScene); }

  // What the scenes asked of the main window.
  std::vector<int> sounds;      // system sound numbers
  std::vector<int> music;       // WM_REQ_BGM requests
  int nameEntries = 0;
  int programCloses = 0;  // closes that reached the window outside an in-stage loop
  // Answers of the dialog requests (the main thread's side).
  std::function<int()> openStage = [] { return 0; };
  std::function<void()> nameEntry = [] {};

 private:
  platform::LRESULT Serve(platform::UINT message, platform::WPARAM wParam, platform::LPARAM) {
    switch (message) {
      case WM_REQ_PLAY_SOUND: sounds.push_back(static_cast<int>(wParam)); break;
      case WM_REQ_BGM: music.push_back(static_cast<int>(wParam)); break;
      case WM_REQ_OPEN_STAGE:
        g_nRequestResult = openStage();
        g_bRequestDone = 1;
        break;
      case platform::WM_CLOSE:
        if (!EndInStageLoopOnClose()) ++programCloses;
        break;
      case WM_REQ_NAME_ENTRY:
        ++nameEntries;
        nameEntry();
        g_bNameEntryDone = 1;
        break;
    }
    return 0;
  }

  ScopedGraphicsDevice m_Device;
  std::vector<cInputState> m_SavedInput;
  platform::HWND m_hWnd = nullptr;
};
