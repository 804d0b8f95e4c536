// A thread object: one named worker thread that is started, waited for and
// asked to stop.
//
// The object runs from Start until Join or Exit has waited for its thread
// (IsRunning). Each run has its own message queue (platform/
// thread_messages.h), made before the thread starts, so that others can post
// to m_dwThreadId at once. Stopping is cooperative: Exit asks the procedure
// to quit (WM_QUIT in its queue, StopRequested becomes true and every
// WaitFor of the thread wakes at once), then waits for it to return. No
// thread is suspended or terminated by force: a procedure that runs long
// polls its queue or StopRequested. Suspend shuts the gate of the thread's
// queue, so the thread waits at its next PeekMessage until Resume (or Exit)
// opens it again. Join and Exit
// may be called from several threads at once (the main window stops a
// thread that another thread is waiting for); a procedure that calls them on
// its own object does not wait for itself. An exception that leaves a
// procedure is reported and stops the program in order.
//
// An object made to run on its caller (RUNS_ON_CALLER) has no thread of its
// own: Start only prepares the run, and the starting thread's Join runs the
// procedure right there, on the starter's queue. Meanwhile the object
// counts as running and its ThreadId is the starter's queue, so a post or
// an Exit from another thread reaches the procedure as it would reach a
// thread of its own. The in-stage loops run so on the game thread, which
// waits for them anyway.
#pragma once

// <chrono> itself cannot be compiled for CP932 literals; <thread> brings
// the durations.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/thread_messages.h"

class cThread {
 public:
  using Procedure = std::function<int(cThread&)>;
  enum eRunsOn { RUNS_ON_OWN_THREAD, RUNS_ON_CALLER };

  explicit cThread(eRunsOn runsOn = RUNS_ON_OWN_THREAD) : m_RunsOn(runsOn) {}
  cThread(const cThread&) = delete;
  cThread& operator=(const cThread&) = delete;
  ~cThread() { StopAndJoin(); }

  // Runs procedure on a new thread (on the caller: prepares it). False when
  // a thread of this object still runs its procedure or none could be
  // created.
  bool Start(Procedure procedure);
  // Waits until the procedure has returned; its result, 0 when none ran.
  // On the caller, the starting thread's Join runs the procedure.
  int Join();
  // Waits at most timeout for the procedure to return; true when it has.
  bool WaitForEnd(std::chrono::milliseconds timeout);
  // Asks the procedure to quit and waits until it has returned.
  void Exit();
  // Shut and open the gate of the thread's queue; true also when no thread
  // runs.
  bool Suspend();
  bool Resume();

  bool IsRunning() const;
  bool StopRequested() const;
  // The id of the current run's queue; 0 before the first start.
  platform::DWORD ThreadId() const;
  // Sleeps for duration unless a stop is requested; false when it was.
  bool WaitFor(std::chrono::milliseconds duration);

 private:
  bool IsOwnThread() const;  // m_Mutex held
  bool StartOnCaller(Procedure procedure);
  int RunOnCaller();
  static int RunProcedure(const Procedure& procedure, cThread& self);
  void RequestStop();
  void WaitForProcedure();
  void StopAndJoin();

  const eRunsOn m_RunsOn;
  Procedure m_Pending;         // on the caller: the procedure its Join runs
  mutable std::mutex m_Mutex;  // the flags below
  std::mutex m_JoinMutex;      // one thread at a time starts or joins m_Thread
  std::condition_variable m_Changed;
  std::thread m_Thread;
  std::thread::id m_ThreadId;  // of the procedure, once it runs
  bool m_bStarted = false;     // started and not yet waited for by Join or Exit
  bool m_bRunning = false;     // the procedure has not returned yet
  bool m_bStop = false;
  int m_nResult = 0;
  platform::DWORD m_dwThreadId = 0;
};

// The thread objects of the program.
extern cThread thGame;
extern cThread thPause;
extern cThread thRanking;

// Suspend and Resume on thGame, thPause and thRanking, in that order.
void SuspendAllThreads();
void ResumeAllThreads();
