#include "app/start_up.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "app/player_services.h"
#include "app/state_dump.h"
#include "base/close_request.h"
#include "base/format.h"
#include "base/input_state.h"
#include "base/key_config.h"
#include "base/paths.h"
#include "base/random.h"
#include "base/report.h"
#include "base/system_info.h"
#include "base/thread.h"
#include "game/data/project_data.h"
#include "graphics/device.h"
#include "graphics/display_report.h"
#include "graphics/font.h"
#include "graphics/image_table.h"
#include "graphics/palette_colours.h"
#include "graphics/palette_file.h"
#include "graphics/surface.h"
#include "model/database/database.h"
#include "model/record/play_flags.h"
#include "model/settings/paths.h"
#include "model/settings/system_data.h"
#include "model/user/options.h"
#include "model/user/save_data.h"
#include "platform/audio/audio_output.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/frame_mailbox.h"
#include "platform/gtk_dialogs.h"
#include "platform/instance_lock.h"
#include "platform/main_thread.h"
#include "platform/message_box.h"
#include "platform/sdl_window.h"
#include "platform/text.h"
#include "platform/video/presenter.h"
#include "platform/window_services.h"
#include "scenes/front_end/option_scene.h"
#include "scenes/front_end/play_start.h"
#include "scenes/front_end/stage_select_scene.h"
#include "scenes/front_end/story_menu_scene.h"
#include "scenes/front_end/title_scene.h"
#include "scenes/front_end/world_map_scene.h"
#include "scenes/hbt_palette.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_scene.h"
#include "shell/editor_link.h"
#include "shell/game_loop.h"
#include "shell/keyboard_hook.h"
#include "shell/launcher_dialog.h"
#include "shell/main_window.h"
#include "shell/project_folder.h"
#include "shell/run_settings.h"
#include "shell/screen_mode.h"
#include "shell/sound/bgm.h"
#include "shell/sound/sound_effects.h"
#include "shell/sound/sound_table.h"
#include "shell/system_ini.h"

std::atomic<std::uint8_t> g_bGameStarted{0};
int g_bWindowed = 0;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFontCount = 3;

RunSettings g_RunSettings;
platform::InstanceLock g_InstanceLock;
// The game window; none in a headless run (or before it is shown).
std::unique_ptr<platform::SdlWindow> g_pWindow;
std::unique_ptr<cPlayerServices> g_pServices;
// The music name tables g_Bgm plays from.
std::vector<std::string> g_vBgmOggNames;
std::vector<std::string> g_vBgmMidiNames;

void ReportLine(const std::string& cp932) { ReportF("%s", cp932.c_str()); }

platform::POINT MainWindowOrigin() {
  platform::POINT origin{0, 0};
  platform::ClientToScreen(g_MainWindow.Handle(), &origin);
  return origin;
}

// The window shows the newest frame of the mailbox whenever the game thread
// has finished one.
void ConnectWindowToFrames(platform::SdlWindow& window) {
  window.SetFrameSource(platform::FramesOf(platform::TheFrameMailbox()));
  platform::TheFrameMailbox().SetFrameReadyCallback([] {
    platform::PostToMainThread([] {
      if (g_pWindow && g_pWindow->PresentNewest()) NoteFrameShown();
    });
  });
}

// The game window becomes visible: in a window or on the whole desktop.
bool ShowGameWindow(int showCommand) {
  platform::ShowWindow(g_MainWindow.Handle(), showCommand);
  if (g_RunSettings.bHeadless) return true;
  if (!g_pWindow) g_pWindow = std::make_unique<platform::SdlWindow>();
  if (g_pWindow->Native()) return true;
  platform::WindowOptions options;
  options.title = platform::Cp932ToUtf8(g_SystemData.m_strTitle);
  options.bFullScreen = g_bWindowed == 0;
  std::string error;
  if (!g_pWindow->Open(options, error)) {
    ReportF("SDL: %s", error.c_str());
    g_pWindow.reset();
    return false;
  }
  ConnectWindowToFrames(*g_pWindow);
  return true;
}

bool StartGraphics(int showCommand) {
  const auto init = [] {
    const int bVSync = g_SystemIni.nVSync != 0 ? 1 : 0;
    return DDInit(g_SystemIni.nDirect3D, g_MainWindow.Handle(), kWidth, kHeight, g_SystemIni.nBpp, bVSync,
                  g_bWindowed, 1, 60, bVSync, g_SurfaceTable, g_ImageTable, kImageCount);
  };
  bool ok = init();
  if (!ok && g_SystemIni.nDirect3D != 0) {
    DDRelease();
    g_SystemIni.nDirect3D = 0;
    platform::ShowWindow(g_MainWindow.Handle(), g_SystemIni.nWindowMode != 0 ? showCommand : SW_SHOWMAXIMIZED);
    ok = init();
  }
  if (!ok) ErrorLog("DDInit失敗");
  return ok;
}

void ChoosePresentMode() {
  if (!g_lpDDState) return;
  if (g_bWindowed) {
    g_bPresentByBlt = 1;
    return;
  }
  platform::DWORD frequency = 0;
  if (!g_lpDD || g_lpDD->GetMonitorFrequency(&frequency) != platform::DD_OK) frequency = 0;
  g_bPresentByBlt = g_SystemIni.nVSync == 0 || frequency < static_cast<platform::DWORD>(g_SceneManager.m_nFps);
}

bool CreateFonts() {
  for (FONTDATA& data : g_FontData) {
    std::snprintf(data.szFace, sizeof data.szFace, "%s", g_SystemData.FontFaceName());
  }
  if (!DDCreateFonts(g_Font, g_FontData, kFontCount)) return false;
  g_Font[1].bSymbol = g_SystemData.m_bHudSymbols;
  g_Font[1].bCenter = g_SystemData.m_bHudCenterChars;
  return DDCreateDigitSurfaces(g_DigitSurface, g_DigitImage, kFontCount, g_Font, g_FontData) != 0;
}

void StartSound() {
  if (g_OptionData.MusicOn()) {
    SetDefaultBgmNames(g_vBgmOggNames, g_vBgmMidiNames);
    g_Bgm.Init(1, &g_vBgmOggNames, &g_vBgmMidiNames, 5);
  }
  FillSoundTables(g_SystemData.m_vSoundFiles, g_Database.m_vSound, g_vSound, g_vSoundDef);
  // Without sound effects the game still runs, silent.
  if (!DS_Init(g_MainWindow.Handle(), 22050, 8, 1)) {
    ErrorLog("DS_Init失敗！");
    ReportF("The sound could not be started: the game runs silent");
  }
  DS_LoadSounds(&g_vSound, &g_vSoundDef, SoundVolumeOfOption(g_OptionData.m_nVolume));
}

// What the game thread runs each frame: the scene manager's frame (0: a fatal
// error), then the digest line of PLAYER_DUMP_DIGESTS, the frame count of
// PLAYER_FRAMES and the sound of a headless run (one frame's worth under the
// virtual clock). The last frame of PLAYER_FRAMES ends the game loop, so that
// the run ends on it.
int GameFrame() {
  const int result = g_SceneManager.Frame();
  if (result == 0) RequestMainWindowCloseForError();  // the display's surfaces are lost for good
  if (!g_RunSettings.dumpDigests.empty()) AppendStageDigestLine(g_RunSettings.dumpDigests);
  CountPresentedFrame(g_RunSettings);
  if (g_RunSettings.bVirtualClock) {
    platform::PumpAudioFrame(g_SceneManager.m_nFps);
  } else {
    platform::PumpAudio();
  }
  const int limit = g_RunSettings.nCloseAfterFrames;
  return limit > 0 && PresentedFrameCount() >= limit ? 0 : result;
}

void WriteDumps() {
  if (!g_RunSettings.dumpFrame.empty()) platform::DumpLatestFrame(g_RunSettings.dumpFrame);
  if (!g_RunSettings.dumpState.empty()) WriteStateDump(g_RunSettings.dumpState);
}

}  // namespace

bool LoadPaletteAndTransparentColour() {
  if (!g_lpD3DState && !g_lpDDPalette) return true;
  const char* picture = g_ImageTable[0].szFileName;
  if (!DDLoadPaletteFromFile(&g_palCurrent, picture, g_bWindowed)) {
    ErrorLog("DDLoadPaletteFromFile失敗");
    ReportErrorF("%s の読み込みに失敗！", picture);
    return false;
  }
  g_palOriginal = g_palCurrent;
  const bool fullColour = g_SystemData.m_bFullColour != 0;
  const std::uint8_t key[3] = {g_SystemData.m_nTransB, g_SystemData.m_nTransG, g_SystemData.m_nTransR};
  if (fullColour && g_nBpp != 16) {
    DDSetTransmit(g_SystemData.m_nTransR, g_SystemData.m_nTransG, g_SystemData.m_nTransB);
    return true;
  }
  if (DDSetTransmitFromFile(picture) == 0) {
    ErrorLog("DDSetTransmit失敗");
    ReportErrorF("%s の読み込みに失敗！", picture);
    return false;
  }
  if (fullColour) std::memcpy(g_lpD3DState ? g_lpD3DState->cbKey16 : g_lpDDState->cbLoadKey, key, sizeof key);
  return true;
}

std::string ChooseDirectStartStage(const std::string& name) {
  std::string newest;
  const std::string chosen = FindNewestVersion(newest, name, g_astrFileExt[EXT_STG4]) ? newest : name;
  std::error_code error;
  return std::filesystem::is_regular_file(platform::MapPath(chosen), error) ? chosen : std::string();
}

StartUp InitGame(const std::string& commandLine, int showWindow) {
  SeedRandom(platform::timeGetTime());
  std::string error;
  if (!LoadProjectData(error)) return StartUp::Failed;
  LoadSystemIni(g_SystemIni, g_SystemData.m_vIniKeys);
  const platform::POINT origin = MainWindowOrigin();
  if (ChooseRendererAtStartup(g_SystemIni, origin.x, origin.y) == 0) return StartUp::Cancelled;
  const std::string freeStage = commandLine.empty() ? std::string(g_SystemIni.szFreeStage) : commandLine;

  RegisterTitleScene();
  RegisterOptionScene();
  RegisterStoryMenuScene();
  RegisterStageScene();
  RegisterWorldMapScene();
  RegisterStageSelectScene();
  g_SceneManager.m_nFps = 60;
  g_SceneManager.m_nFadeSpeed = 10;
  for (cInputState& input : g_InputStates) input.SetRepeat(18, 6);

  const ScreenModeChoice mode =
      ChooseScreenMode(g_SystemIni, g_SystemData.m_bFullColour ? COLOUR_MODE_FULL : COLOUR_MODE_PALETTE,
                       platform::GetDesktopBitsPerPixel(), showWindow);
  if (!mode.bUsable) {
    ErrorBoxF("%s", mode.pszError);
    return StartUp::Failed;
  }
  g_bWindowed = mode.bWindowed;
  if (!ShowGameWindow(mode.nShowCommand)) {
    ErrorBox("ウインドウが生成出来ません！");
    return StartUp::Failed;
  }
  g_pServices = std::make_unique<cPlayerServices>(g_pWindow.get());
  g_MainWindow.SetServices(g_pServices.get());

  if (!StartGraphics(mode.nShowCommand)) return StartUp::Failed;
  if (g_lpD3DState) {
    g_lpD3DState->strTextureError =
        "テクスチャの作成に失敗しました！\nビデオカードの性能が十分ではないかもしれません。\n"
        "System.iniファイルで「Direct3D=0」に変更してDirect3Dを無効にすれば改善される可能性があります。";
    DDLinkSurfaces();
  }
  ReportDisplayInfo();
  ErrorLog("DDInit成功");
  if (!LoadPaletteAndTransparentColour()) return StartUp::Failed;
  ErrorLog("1");
  ChoosePresentMode();
  ErrorLog("2");
  const int firstImages[] = {1};
  if (!DDLoadSurfaces(g_SurfaceTable, firstImages, 1)) return StartUp::Failed;
  if (!CreateFonts()) return StartUp::Failed;
  ErrorLog("3");

  for (cInputState& input : g_InputStates) input.SetJoyButtonMasks();
  if (LoadKeyConfig(g_astrFilePath[PATH_KEY_CONFIG], &g_KeyConfig) == 0) SetDefaultKeyConfig(&g_KeyConfig);
  if (g_nBpp == 8 && LoadHbtPalette(g_OptionData.m_nPalette) == 0) return StartUp::Failed;
  StartSound();
  ErrorLog("4");

  if (freeStage.empty()) return StartUp::Runs;
  const std::string stage = ChooseDirectStartStage(freeStage);
  if (stage.empty()) {
    ReportLogF("「%s」の読み込みに失敗しました！", freeStage.c_str());
    g_SystemIni.szFreeStage[0] = '\0';
    return StartUp::Runs;
  }
  g_bFreeStagePlay = 1;
  if (StartStageFile(stage, 1) == 0) return StartUp::Failed;
  g_SaveData.m_bSeries = 0;
  g_SceneManager.m_nPlayMode = PLAY_FREESTAGE;
  g_SceneManager.m_bUseRanking = 1;
  g_SceneManager.m_nPlayStart = 3;  // a stage file
  g_SceneManager.m_nScene = SCENE_STAGE;
  g_SceneManager.m_nPrevScene = SCENE_TITLE;
  return StartUp::Runs;
}

void UnInitGame() {
  DS_Release();
  g_Bgm.Release();
  g_SceneManager.DeleteAllScenes();
  for (Font& font : g_Font) font.Destroy();
  for (DDSURFACEDATA& surface : g_DigitSurface) DDReleaseSurface(&surface);
  DDRelease();
  cHook::UnhookAll();
  // The window goes last: the graphics release above still names it.
  platform::TheFrameMailbox().SetFrameReadyCallback({});
  g_MainWindow.SetServices(nullptr);
  g_pServices.reset();
  g_pWindow.reset();
}

int WinMain(const std::string& commandLine, int showWindow) {
  SetErrorLog(0, "EC_Game.txt");
  // Until the report is open its lines go to standard error; nothing is
  // written into a folder that is not a project, and a folder that cannot
  // be written says so in a box.
  ReportToStandardError();
  // The run settings are applied while the report still goes to standard
  // error: an input script that cannot be used is told there, not only in
  // the project's report.
  if (!ReadRunSettings(g_RunSettings) || !ApplyRunSettings(g_RunSettings)) return 1;
  platform::ClaimMainThread();
  if (g_RunSettings.bHeadless) {
    platform::InstallScriptedDialogs(ReportLine);
  } else {
    platform::InstallGtkDialogs(ReportLine);
  }
  if (!CheckProjectFolder()) return 1;
  std::string reportPath = "Report_Game.txt";
  if (MakeAbsolutePath(reportPath) == 0 || OpenReport(reportPath.c_str()) == 0) {
    TellProjectFolderReadOnly();
    return 1;
  }
  ReportF("App : ver %s", "566");
  ReportSystemInfo();
  g_bTestPlay = showWindow == SW_SHOW_TEST_PLAY ? 1 : 0;
  std::string lockProblem;
  switch (g_InstanceLock.Acquire(&lockProblem)) {
    case platform::LockState::Held: break;
    case platform::LockState::HeldByAnother:
      platform::MessageBoxA("既に起動しています", "二重起動", platform::MB_OK);
      return 0;
    case platform::LockState::Unavailable: {
      // Only a second player goes unnoticed: this one runs.
      std::string text;
      FormatString(text, "二重起動を確認するためのファイルを作成できません。\n%s。", lockProblem.c_str());
      ReportF("%s", text.c_str());
      platform::MessageBoxA(text.c_str(), "二重起動", platform::MB_OK);
      break;
    }
  }
  g_MainWindow.Create();
  ErrorLog("G");
  if (g_bTestPlay) NotifyEditorStart();
  ErrorLog("H");

  if (const StartUp start = InitGame(commandLine, showWindow); start != StartUp::Runs) {
    UnInitGame();
    g_InstanceLock.Release();
    if (g_bTestPlay) NotifyEditorExit(0);
    return start == StartUp::Failed ? 1 : 0;
  }
  g_bGameStarted = 1;
  ErrorLog("I");
  SetGameFrame(GameFrame);
  thGame.Start(GameLoop);
  ErrorLog("J");

  platform::HeadlessEventSource headless;
  platform::EventSource& events = g_pWindow ? static_cast<platform::EventSource&>(*g_pWindow) : headless;
  const int exitCode = platform::RunMessageLoop(events, [] { return g_MainWindow.Handle(); });
  WriteDumps();
  UnInitGame();
  ErrorLog("UnInitGame後");
  g_InstanceLock.Release();
  ErrorLog("ReleaseMutex後");
  return ClosedForError() ? 1 : exitCode;
}
