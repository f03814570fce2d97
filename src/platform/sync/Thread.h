#pragma once
// A thread created suspended, so that its priority can be set before it
// runs. Priorities are the platform's levels; they map to nice values where
// the process may set them and are ignored otherwise.
#include <functional>
#include <memory>
#include <thread>

enum ThreadPriority {
  THREAD_PRIORITY_IDLE = -15,
  THREAD_PRIORITY_LOWEST = -2,
  THREAD_PRIORITY_BELOW_NORMAL = -1,
  THREAD_PRIORITY_NORMAL = 0,
  THREAD_PRIORITY_ABOVE_NORMAL = 1,
  THREAD_PRIORITY_HIGHEST = 2,
  THREAD_PRIORITY_TIME_CRITICAL = 15,
};

class SuspendedThread {
 public:
  SuspendedThread();
  SuspendedThread(const SuspendedThread&) = delete;
  SuspendedThread& operator=(const SuspendedThread&) = delete;
  // Joins a thread that was started; never leaves one running, except when
  // destroyed on its own thread, which cannot wait for itself: it is let go.
  ~SuspendedThread();

  // Creates the thread; it runs `body` only after Resume. The body owns what
  // it captures for as long as it runs, so a thread that is let go keeps
  // alive whatever it holds through shared pointers.
  bool Create(std::function<void()> body);
  void SetPriority(int priority);
  void Resume();
  bool Joinable() const { return m_thread.joinable(); }
  // True when called on the thread itself.
  bool IsCurrentThread() const;
  // Waits for the thread to end; false (and no wait) on the thread itself.
  bool Join();
  // Waits at most `timeoutMs` of the current clock's time. A thread that has
  // not ended by then is let go: it runs on by itself and this object no
  // longer refers to it. False in that case and on the thread itself.
  bool JoinFor(uint32_t timeoutMs);

 private:
  struct State;
  std::shared_ptr<State> m_state;
  std::thread m_thread;
};
