// The requests by which any thread asks the main window for work that only
// the main thread does: dialogs, sound effects, music, restoring surfaces.
//
// A request is a SendMessage to the main window g_hWnd: the sender waits
// until the window procedure has done the work. The dialog requests also
// answer through flags that the main thread sets and the sender polls; the
// flags are atomics, because they cross threads. Once the main window has
// begun to close, every request answers at once as cancelled (result 0, the
// done flags set), so that no thread waits for a main thread that has gone.
#pragma once

#include <atomic>
#include <string>

#include "platform/window_messages.h"

constexpr platform::UINT WM_REQ_NAME_ENTRY = platform::WM_USER + 1;
constexpr platform::UINT WM_REQ_OPEN_STAGE = platform::WM_USER + 2;
constexpr platform::UINT WM_REQ_OPEN_REPLAY = platform::WM_USER + 3;
constexpr platform::UINT WM_REQ_SAVE_REPLAY = platform::WM_USER + 4;
constexpr platform::UINT WM_REQ_PLAY_SOUND = platform::WM_USER + 5;
constexpr platform::UINT WM_REQ_BGM = platform::WM_USER + 6;
constexpr platform::UINT WM_REQ_RESTORE_SURFACE = platform::WM_USER + 100;
// wParam of WM_REQ_BGM: the scene music slots, then the stage's music
// (lParam its Bgm.dat entry).
enum eBgmRequest { BGMREQ_TITLE = 0, BGMREQ_MAP = 1, BGMREQ_SELECT = 2, BGMREQ_OPTION = 3, BGMREQ_STAGE = 4 };
// Posted to a thread, ignored there.
constexpr platform::UINT WM_THREAD_PING = platform::WM_APP;

// Nonzero while the application is active: the game runs frames only then.
extern std::atomic<int> g_bActive;
extern std::atomic<int> g_bNameEntryDone;
extern std::atomic<int> g_bRequestDone;
extern std::atomic<int> g_nRequestResult;
// The replay file chosen by the last open-replay request.
extern std::string g_strStagePath;

// Sender side of the dialog requests: clears the done flag, sends the
// request and waits for the flag; the answer, 1 done or 0 cancelled.
int RequestDialog(platform::UINT message, platform::WPARAM wParam = 0);
// The name-entry request: sends and waits for g_bNameEntryDone.
void RequestNameEntry();
// Plays system sound id (0 to 16) on the main thread.
void RequestSystemSound(int id);
// Plays the sound of Sound.dat entry n (slot n + 16); entry 0 plays nothing,
// and so does a negative one (damaged data), which names no entry.
void RequestDbSound(std::int16_t entry);
// Starts the music of a scene slot (or, for BGMREQ_STAGE, Bgm.dat entry
// nEntry) on the main thread.
void RequestBgm(int nRequest, int nEntry = 0);
// Answers every dialog request as cancelled: the main window closes.
void CancelDialogRequests();
