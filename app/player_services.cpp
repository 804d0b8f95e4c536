#include "app/player_services.h"

#include <stdexcept>
#include <string>

#include "app/start_up.h"
#include "base/checked_access.h"
#include "base/close_request.h"
#include "graphics/device.h"
#include "graphics/device_recovery.h"
#include "model/database/database.h"
#include "model/settings/system_data.h"
#include "model/user/save_data.h"
#include "platform/sdl_window.h"
#include "platform/text.h"
#include "platform/transcript.h"
#include "platform/window_services.h"
#include "scenes/front_end/play_start.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_scene.h"
#include "shell/name_entry_dialog.h"
#include "shell/replay_requests.h"
#include "shell/sound/bgm.h"
#include "shell/sound/sound_effects.h"
#include "shell/stage_file_request.h"

namespace {

constexpr int kStageMusicSlot = 4;

// Music slot 1 serves the world map and the story menu: moving between
// those two keeps the music that already plays.
bool KeepsMapMusic() {
  const int scene = g_SceneManager.m_nScene;
  const int previous = g_SceneManager.m_nPrevScene;
  return (scene == SCENE_WORLDMAP && previous == SCENE_STORYMENU) ||
         (scene == SCENE_STORYMENU && previous == SCENE_WORLDMAP);
}

void NoteMusic(int slot, const std::string& file) {
  platform::TranscriptLine("music " + std::to_string(slot) + " " + platform::Cp932ToUtf8(file));
}

}  // namespace

void cPlayerServices::RunNameEntryDialog() {
  platform::POINT origin{0, 0};
  platform::ClientToScreen(g_hWnd.load(), &origin);
  // The game thread waits for this request: the stage scene's ranking name
  // is not touched by it meanwhile.
  auto* stage = dynamic_cast<cStageScene*>(g_pStageScene);
  cNameEntryDialog dialog(NameEntryTarget(g_SceneManager.m_nPlayStart, stage ? &stage->m_strRankName : nullptr),
                          g_bWindowed != 0, origin.x, origin.y);
  dialog.DoModal();
}

int cPlayerServices::OpenStageFile() {
  std::string path;
  if (ChooseStageFile(path) == 0) return 0;
  if (StartStageFile(path, 0) == 0) RequestMainWindowCloseForError();
  return 1;
}

int cPlayerServices::OpenReplayFile() { return ServeOpenReplayRequest(); }

int cPlayerServices::SaveReplayFile(int bPrevious) { return ServeSaveReplayRequest(bPrevious); }

int cPlayerServices::SoundSlotCount() { return static_cast<int>(g_vSound.size()); }

void cPlayerServices::PlaySound(int slot) {
  platform::TranscriptLine("sound " + std::to_string(slot));
  DS_Play(&g_vSound[static_cast<std::size_t>(slot)], 0);
}

void cPlayerServices::PlayBgmRequest(int k, int entry) {
  try {
    if (k < kStageMusicSlot) {
      const int e = CheckedAt(g_SystemData.m_vSystemBgm, k);
      const std::string& file = CheckedAt(g_Database.m_vBgm, e).m_strFile;
      g_Bgm.SetSlot(k, file.c_str());
      const int force = k == 1 && KeepsMapMusic() ? 0 : 1;
      NoteMusic(k, file);
      g_Bgm.Play(0, k, CheckedAt(g_SystemData.m_vSystemBgmLoop, k), 0, force);
      return;
    }
    g_SaveData.m_nStageBgm = entry;
    const std::string& file = CheckedAt(g_Database.m_vBgm, entry).m_strFile;
    g_Bgm.SetSlot(kStageMusicSlot, file.c_str());
    if (entry == 0) {
      StopBgm();
      return;
    }
    NoteMusic(kStageMusicSlot, file);
    g_Bgm.Play(0, kStageMusicSlot, g_SaveData.m_bStageBgmLoop, 0, 1);
  } catch (const std::out_of_range&) {
    // A project without a music list: the bad index was reported and the
    // window closes; nothing plays.
  }
}

void cPlayerServices::StopBgm() {
  platform::TranscriptLine("music stop");
  g_Bgm.Stop();
}

void cPlayerServices::DDSetGDIMode(int bOn) { ::DDSetGDIMode(bOn); }

int cPlayerServices::DDRestoreSurface() { return ::DDRestoreSurface(); }

void cPlayerServices::RepaintWindow() {
  // The window shows the newest finished frame again; the game thread may
  // be drawing the next one meanwhile, so the back buffer is not touched.
  if (m_pWindow) m_pWindow->PresentNewest(true);
}

void cPlayerServices::HideWindow() {
  if (m_pWindow) m_pWindow->Hide();
}
