#include "base/thread.h"

#include <exception>
#include <system_error>

#include "base/close_request.h"
#include "base/report.h"

cThread thGame;
cThread thPause(cThread::RUNS_ON_CALLER);
cThread thRanking(cThread::RUNS_ON_CALLER);

namespace {
// A thread that has not ended this long after its quit message is named in
// the report; the wait goes on.
constexpr std::chrono::milliseconds kSlowExit{200};
}  // namespace

bool cThread::Start(Procedure procedure) {
  const auto running = [this] {
    std::lock_guard lock(m_Mutex);
    return m_bRunning;
  };
  // Asked before taking the join lock too, so that a procedure that calls
  // Start on its own object is refused instead of waiting for itself.
  if (running()) return false;
  if (m_RunsOn == RUNS_ON_CALLER) return StartOnCaller(std::move(procedure));
  std::lock_guard joining(m_JoinMutex);
  if (running()) return false;
  if (m_Thread.joinable()) m_Thread.join();  // its procedure has returned
  {
    std::lock_guard lock(m_Mutex);
    m_ThreadId = std::thread::id();
    m_bStarted = true;
    m_bRunning = true;
    m_bStop = false;
    m_nResult = 0;
    m_dwThreadId = platform::CreateThreadQueue();
  }
  try {
    m_Thread = std::thread([this, procedure = std::move(procedure), queue = m_dwThreadId] {
      platform::AttachThreadQueue(queue);
      {
        std::lock_guard lock(m_Mutex);
        m_ThreadId = std::this_thread::get_id();
      }
      const int result = RunProcedure(procedure, *this);
      std::lock_guard done(m_Mutex);
      m_nResult = result;
      m_bRunning = false;
      m_Changed.notify_all();
    });
  } catch (const std::system_error&) {
    std::lock_guard lock(m_Mutex);
    platform::DestroyThreadQueue(m_dwThreadId);
    m_bStarted = false;
    m_bRunning = false;
    return false;
  }
  return true;
}

// Nothing may leave a thread: an exception would end the process on the
// spot instead of in order.
int cThread::RunProcedure(const Procedure& procedure, cThread& self) {
  try {
    return procedure(self);
  } catch (const std::exception& e) {
    ReportF("%s", e.what());
  } catch (...) {
    ReportF("unknown exception");
  }
  RequestMainWindowCloseForError();
  return 0;
}

bool cThread::StartOnCaller(Procedure procedure) {
  std::lock_guard lock(m_Mutex);
  if (m_bRunning) return false;
  m_Pending = std::move(procedure);
  m_ThreadId = std::this_thread::get_id();
  m_bStarted = true;
  m_bRunning = true;
  m_bStop = false;
  m_nResult = 0;
  m_dwThreadId = platform::GetCurrentThreadId();  // the starter's own queue
  return true;
}

int cThread::RunOnCaller() {
  Procedure procedure;
  {
    std::lock_guard lock(m_Mutex);
    procedure = std::move(m_Pending);
    m_Pending = nullptr;
  }
  const int result = procedure ? RunProcedure(procedure, *this) : 0;
  std::lock_guard lock(m_Mutex);
  m_nResult = result;
  m_bRunning = false;
  m_bStarted = false;  // the queue is the starter's: it stays
  m_Changed.notify_all();
  return result;
}

bool cThread::IsOwnThread() const { return m_bRunning && m_ThreadId == std::this_thread::get_id(); }

int cThread::Join() {
  if (m_RunsOn == RUNS_ON_CALLER) {
    std::unique_lock lock(m_Mutex);
    const bool starter = m_bRunning && m_ThreadId == std::this_thread::get_id();
    if (starter && m_Pending) {
      lock.unlock();
      return RunOnCaller();
    }
    if (starter) return m_nResult;  // the procedure joins its own object
    // Others wait for the starter's Join to run it.
    m_Changed.wait(lock, [this] { return !m_bRunning; });
    return m_nResult;
  }
  {
    std::lock_guard lock(m_Mutex);
    if (IsOwnThread()) return m_nResult;
  }
  std::lock_guard joining(m_JoinMutex);
  if (m_Thread.joinable()) m_Thread.join();
  std::lock_guard lock(m_Mutex);
  if (m_bStarted) platform::DestroyThreadQueue(m_dwThreadId);  // posts to it fail from now on
  m_bStarted = false;
  return m_nResult;
}

bool cThread::WaitForEnd(std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_Mutex);
  return m_Changed.wait_for(lock, timeout, [this] { return !m_bRunning; });
}

void cThread::RequestStop() {
  std::lock_guard lock(m_Mutex);
  m_bStop = true;
  m_Changed.notify_all();
  if (m_bStarted) {
    platform::ResumeThreadQueue(m_dwThreadId);  // a suspended thread must run to see its quit
    platform::PostThreadMessage(m_dwThreadId, platform::WM_QUIT, 0, 0);
  }
}

void cThread::WaitForProcedure() {
  std::unique_lock lock(m_Mutex);
  if (IsOwnThread()) return;
  if (m_Changed.wait_for(lock, kSlowExit, [this] { return !m_bRunning; })) return;
  ReportF("thread %u did not end within %d ms of its quit message", m_dwThreadId,
          static_cast<int>(kSlowExit.count()));
  m_Changed.wait(lock, [this] { return !m_bRunning; });
}

bool cThread::Suspend() {
  std::lock_guard lock(m_Mutex);
  if (m_bStarted) platform::SuspendThreadQueue(m_dwThreadId);
  return true;
}

bool cThread::Resume() {
  std::lock_guard lock(m_Mutex);
  if (m_bStarted) platform::ResumeThreadQueue(m_dwThreadId);
  return true;
}

platform::DWORD cThread::ThreadId() const {
  std::lock_guard lock(m_Mutex);
  return m_dwThreadId;
}

void SuspendAllThreads() {
  for (cThread* thread : {&thGame, &thPause, &thRanking}) thread->Suspend();
}

void ResumeAllThreads() {
  for (cThread* thread : {&thGame, &thPause, &thRanking}) thread->Resume();
}

void cThread::Exit() {
  if (!IsRunning()) return;
  ErrorLog("Exit A");
  RequestStop();
  ErrorLog("Exit B");
  ErrorLog("Exit C");
  WaitForProcedure();
  ErrorLog("Exit D");
  Join();
  ErrorLog("Exit E");
}

// Exit without its error-log lines: at the end of the process the log
// itself may be gone.
void cThread::StopAndJoin() {
  RequestStop();
  if (m_RunsOn == RUNS_ON_CALLER) {
    // A run that was prepared and never joined does not run any more.
    std::lock_guard lock(m_Mutex);
    if (m_Pending) {
      m_Pending = nullptr;
      m_bRunning = m_bStarted = false;
    }
  }
  Join();
}

bool cThread::IsRunning() const {
  std::lock_guard lock(m_Mutex);
  return m_bStarted;
}

bool cThread::StopRequested() const {
  std::lock_guard lock(m_Mutex);
  return m_bStop;
}

bool cThread::WaitFor(std::chrono::milliseconds duration) {
  std::unique_lock lock(m_Mutex);
  return !m_Changed.wait_for(lock, duration, [this] { return m_bStop; });
}
