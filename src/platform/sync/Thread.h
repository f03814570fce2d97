#pragma once
// A thread created suspended, so that its priority can be set before it
// runs. Priorities are the platform's levels; they map to nice values where
// the process may set them and are ignored otherwise.
#include <condition_variable>
#include <functional>
#include <mutex>
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
  SuspendedThread() = default;
  SuspendedThread(const SuspendedThread&) = delete;
  SuspendedThread& operator=(const SuspendedThread&) = delete;
  // Joins a thread that was started; never leaves one running.
  ~SuspendedThread();

  // Creates the thread; it runs `body` only after Resume.
  bool Create(std::function<void()> body);
  void SetPriority(int priority);
  void Resume();
  bool Joinable() const { return m_thread.joinable(); }
  void Join();

 private:
  std::thread m_thread;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_resumed = false;
  int m_priority = THREAD_PRIORITY_NORMAL;
};
