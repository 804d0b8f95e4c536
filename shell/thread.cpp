#include "shell/thread.h"

#include <system_error>

bool cThread::Start(Procedure procedure) {
  std::unique_lock lock(m_Mutex);
  if (m_bRunning) return false;
  if (m_Thread.joinable()) {
    lock.unlock();
    m_Thread.join();
    lock.lock();
  }
  m_bRunning = true;
  m_bStop = false;
  m_nResult = 0;
  try {
    m_Thread = std::thread([this, procedure = std::move(procedure)] {
      const int result = procedure(*this);
      std::lock_guard done(m_Mutex);
      m_nResult = result;
      m_bRunning = false;
      m_Changed.notify_all();
    });
  } catch (const std::system_error&) {
    m_bRunning = false;
    return false;
  }
  return true;
}

int cThread::Join() {
  if (m_Thread.joinable() && m_Thread.get_id() != std::this_thread::get_id()) m_Thread.join();
  std::lock_guard lock(m_Mutex);
  return m_nResult;
}

bool cThread::WaitForEnd(std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_Mutex);
  return m_Changed.wait_for(lock, timeout, [this] { return !m_bRunning; });
}

void cThread::Exit() {
  {
    std::lock_guard lock(m_Mutex);
    m_bStop = true;
    m_Changed.notify_all();
  }
  Join();
}

bool cThread::IsRunning() const {
  std::lock_guard lock(m_Mutex);
  return m_bRunning;
}

bool cThread::StopRequested() const {
  std::lock_guard lock(m_Mutex);
  return m_bStop;
}

bool cThread::WaitFor(std::chrono::milliseconds duration) {
  std::unique_lock lock(m_Mutex);
  return !m_Changed.wait_for(lock, duration, [this] { return m_bStop; });
}
