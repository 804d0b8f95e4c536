// The main window and its requests, with the test's thread as the main
// thread running the headless message loop: requests from other threads,
// and closes that come while a pause loop runs, while a request is served
// and just after one was queued. Every case must end all threads.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "base/close_request.h"
#include "base/requests.h"
#include "base/thread.h"
#include "platform/event_loop.h"
#include "platform/main_thread.h"
#include "shell/editor_link.h"
#include "shell/game_loop.h"
#include "shell/main_window.h"

using namespace std::chrono_literals;
using namespace platform;

namespace {

class FakeServices : public cMainWindowServices {
 public:
  int OpenStageFile() override {
    ++openCalls;
    if (!runDialogLoop) return openAnswer;
    // A dialog's own loop: serves the main thread's tasks until it is
    // answered or the window wants to close.
    dialogRunning = true;
    while (!g_MainWindow.ClosePending()) {
      WaitForMainThreadTasks(5ms);
      RunMainThreadTasks();
    }
    return 0;
  }
  void RunNameEntryDialog() override { calls.push_back("name entry"); }
  void DDSetGDIMode(int bOn) override { calls.push_back(bOn ? "dialog mode on" : "dialog mode off"); }
  int SoundSlotCount() override { return soundSlots; }
  void PlaySound(int slot) override { played.push_back(slot); }
  void StopBgm() override { ++bgmStops; }

  std::atomic<int> openCalls{0};
  int openAnswer = 0;
  bool runDialogLoop = false;
  std::atomic<bool> dialogRunning{false};
  int soundSlots = 17 + 5;
  std::vector<int> played;
  int bgmStops = 0;
  std::vector<std::string> calls;  // dialogs and dialog mode, in order
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A close served by an earlier case may have left its WM_QUIT here.
    MSG stale;
    while (PeekMessage(&stale, PM_REMOVE)) {
    }
    ResetCloseRequests();
    g_bActive = 0;
    ClaimMainThread();
    g_MainWindow.SetServices(&m_Services);
    g_MainWindow.Create();
  }
  void TearDown() override {
    // Whatever the case left running ends here.
    for (cThread* thread : {&thGame, &thPause, &thRanking}) thread->Exit();
    if (IsWindow(g_hWnd.load())) DestroyWindowHandle(g_hWnd.exchange(nullptr));
    g_MainWindow.SetServices(nullptr);
    ReleaseMainThread();
    SetGameFrame(nullptr);
    g_bTestPlay = 0;
    ClearEditorNotices();
  }
  int RunLoop() {
    return RunMessageLoop(m_Source, [] { return g_hWnd.load(); });
  }
  // Runs send on another thread, serving the main thread's tasks until it
  // has returned.
  static void SendFromAnotherThread(const std::function<void()>& send) {
    std::atomic<bool> done{false};
    std::thread sender([&] {
      send();
      done = true;
      PostToMainThread([] {});
    });
    while (!done) {
      WaitForMainThreadTasks(5ms);
      RunMainThreadTasks();
    }
    sender.join();
  }
  void ExpectEverythingEnded() {
    EXPECT_FALSE(IsWindow(g_hWnd.load()));
    for (cThread* thread : {&thGame, &thPause, &thRanking}) EXPECT_FALSE(thread->IsRunning());
    EXPECT_EQ(m_Services.bgmStops, 1);
  }

  FakeServices m_Services;
  HeadlessEventSource m_Source;
};

// Waits for WM_QUIT as the in-stage loops do.
int PollForQuit() {
  MSG msg;
  for (;;) {
    if (PeekMessage(&msg, PM_REMOVE) && msg.message == WM_QUIT) return 1;
    WaitMessage(1ms);
  }
}

// The game thread runs frames while active; a frame that returns 0 closes
// the program.
TEST_F(MainWindowTest, TheGameLoopRunsFramesWhileActiveAndAFrameOfZeroCloses) {
  std::atomic<int> frames{0};
  SetGameFrame([&] { return ++frames < 5 ? 1 : 0; });
  ASSERT_TRUE(thGame.Start(GameLoop));
  EXPECT_EQ(RunLoop(), 0);
  EXPECT_EQ(frames, 5);
  EXPECT_EQ(g_bActive, 1);  // the headless loop activates the window
  ExpectEverythingEnded();
}

TEST_F(MainWindowTest, EscapeClosesTheProgramAndTheDestroyTellsTheEditor) {
  g_bTestPlay = 1;
  ASSERT_TRUE(thGame.Start(GameLoop));
  PostMessage(g_hWnd.load(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(RunLoop(), 0);
  ExpectEverythingEnded();
  EXPECT_EQ(EditorNoticesSent(), (std::vector<EditorNotice>{{0, 1}}));
}

// The first close only ends the in-stage loop (the pause loop or the
// ranking display, both run on the game thread) and raises the stage's quit
// flag; the stage closes again once its loop has been joined.
class InStageLoopCloseTest : public MainWindowTest, public testing::WithParamInterface<cThread*> {};

TEST_P(InStageLoopCloseTest, ACloseWhileTheLoopRunsEndsTheLoopFirst) {
  cThread* loop = GetParam();
  std::atomic<int> quitFlag{0};
  std::atomic<bool> loopStarted{false};
  ASSERT_TRUE(thGame.Start([&](cThread&) {
    PublishPauseLoopQuitFlag(&quitFlag);
    loop->Start([&](cThread&) {
      loopStarted = true;
      return PollForQuit();
    });
    loop->Join();
    PublishPauseLoopQuitFlag(nullptr);
    if (quitFlag) RequestMainWindowClose();
    return PollForQuit();
  }));
  std::thread closer([&] {
    while (!loopStarted) std::this_thread::sleep_for(1ms);
    RequestMainWindowClose();
  });
  EXPECT_EQ(RunLoop(), 0);
  closer.join();
  EXPECT_EQ(quitFlag, 1);
  EXPECT_EQ(CloseRequestCount(), 2);
  ExpectEverythingEnded();
}

INSTANTIATE_TEST_SUITE_P(PauseAndRanking, InStageLoopCloseTest, testing::Values(&thPause, &thRanking));

// A close while the game thread waits for a dialog request: the dialog ends,
// the request answers 0, then the program closes.
TEST_F(MainWindowTest, ACloseWhileARequestIsServedWaitsForItAndAnswersZero) {
  m_Services.runDialogLoop = true;
  std::atomic<int> result{-1};
  ASSERT_TRUE(thGame.Start([&](cThread&) {
    result = RequestDialog(WM_REQ_OPEN_STAGE);
    return PollForQuit();
  }));
  std::thread closer([&] {
    while (!m_Services.dialogRunning) std::this_thread::sleep_for(1ms);
    RequestMainWindowClose();
  });
  EXPECT_EQ(RunLoop(), 0);
  closer.join();
  EXPECT_EQ(result, 0);
  ExpectEverythingEnded();
}

// A request queued after the close is never served: the sender is answered
// 0 at once instead of waiting for a window that is gone.
TEST_F(MainWindowTest, ARequestQueuedJustAfterACloseAnswersZeroWithoutRunning) {
  std::atomic<int> result{-1};
  std::atomic<bool> sending{false};
  RequestMainWindowClose();
  ASSERT_TRUE(thGame.Start([&](cThread&) {
    sending = true;
    result = RequestDialog(WM_REQ_OPEN_STAGE);
    return PollForQuit();
  }));
  while (!sending) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(20ms);  // lets the request reach the queue
  EXPECT_EQ(RunLoop(), 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(m_Services.openCalls, 0);
  ExpectEverythingEnded();
}

TEST_F(MainWindowTest, ACancelledOpenRequestAnswersZeroAndAChosenOneOne) {
  for (const int answer : {0, 1}) {
    m_Services.openAnswer = answer;
    int result = -1;
    SendFromAnotherThread([&] { result = RequestDialog(WM_REQ_OPEN_STAGE); });
    EXPECT_EQ(result, answer);
    EXPECT_EQ(g_bRequestDone, 1);
  }
}

TEST_F(MainWindowTest, TheNameEntryRunsBetweenDialogModeOnAndOff) {
  SendFromAnotherThread(RequestNameEntry);
  EXPECT_EQ(m_Services.calls, (std::vector<std::string>{"dialog mode on", "name entry", "dialog mode off"}));
  EXPECT_EQ(g_bNameEntryDone, 1);
}

struct SoundCase {
  const char* name;
  int request;  // -1: RequestDbSound(entry), else RequestSystemSound(request)
  int entry;
  std::vector<int> played;
  int closes;
};

class SoundRequestTest : public MainWindowTest, public ::testing::WithParamInterface<SoundCase> {};

TEST_P(SoundRequestTest, PlaysTheSlotOnTheMainThread) {
  const SoundCase& c = GetParam();
  SendFromAnotherThread([&] {
    if (c.request < 0) {
      RequestDbSound(static_cast<std::int16_t>(c.entry));
    } else {
      RequestSystemSound(c.request);
    }
  });
  EXPECT_EQ(m_Services.played, c.played);
  EXPECT_EQ(CloseRequestCount(), c.closes);
}

INSTANTIATE_TEST_SUITE_P(
    Sounds, SoundRequestTest,
    ::testing::Values(SoundCase{"DbEntryZeroSendsNothing", -1, 0, {}, 0},
                      SoundCase{"DbEntryThreeIsSlotNineteen", -1, 3, {19}, 0},
                      SoundCase{"NegativeDbEntrySendsNothing", -1, -3, {}, 0},
                      SoundCase{"SystemSoundSixteen", 16, 0, {16}, 0},
                      SoundCase{"SlotPastTheTablePlaysSlotZeroAndCloses", 22, 0, {0}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, UnusedUserMessagesGoToTheDefaultProcedure) {
  EXPECT_EQ(SendMessage(g_hWnd.load(), WM_USER + 7, 1, 2), 0);
  EXPECT_EQ(SendMessage(g_hWnd.load(), WM_ACTIVATEAPP, 1, 0), 0);
  EXPECT_EQ(g_bActive, 1);
}

}  // namespace
