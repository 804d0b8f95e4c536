#include "shell/thread.h"

#include <exception>
#include <system_error>

#include "shell/close_request.h"
#include "shell/report.h"

bool cThread::Start(Procedure procedure) {
  const auto running = [this] {
    std::lock_guard lock(m_Mutex);
    return m_bRunning;
  };
  // Asked before taking the join lock too, so that a procedure that calls
  // Start on its own object is refused instead of waiting for itself.
  if (running()) return false;
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
  }
  try {
    m_Thread = std::thread([this, procedure = std::move(procedure)] {
      {
        std::lock_guard lock(m_Mutex);
        m_ThreadId = std::this_thread::get_id();
      }
      int result = 0;
      // Nothing may leave a thread: an exception would end the process on
      // the spot instead of in order.
      try {
        result = procedure(*this);
      } catch (const std::exception& e) {
        ReportF("%s", e.what());
        RequestMainWindowClose();
      } catch (...) {
        ReportF("unknown exception");
        RequestMainWindowClose();
      }
      std::lock_guard done(m_Mutex);
      m_nResult = result;
      m_bRunning = false;
      m_Changed.notify_all();
    });
  } catch (const std::system_error&) {
    std::lock_guard lock(m_Mutex);
    m_bStarted = false;
    m_bRunning = false;
    return false;
  }
  return true;
}

bool cThread::IsOwnThread() const { return m_bRunning && m_ThreadId == std::this_thread::get_id(); }

int cThread::Join() {
  {
    std::lock_guard lock(m_Mutex);
    if (IsOwnThread()) return m_nResult;
  }
  std::lock_guard joining(m_JoinMutex);
  if (m_Thread.joinable()) m_Thread.join();
  std::lock_guard lock(m_Mutex);
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
}

void cThread::WaitForProcedure() {
  std::unique_lock lock(m_Mutex);
  if (IsOwnThread()) return;
  m_Changed.wait(lock, [this] { return !m_bRunning; });
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
