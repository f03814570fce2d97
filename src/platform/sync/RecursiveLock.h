#pragma once
// A lock the owning thread may take again (the platform's critical section).
#include <mutex>

class RecursiveLock {
 public:
  void Lock() { m_mutex.lock(); }
  void Unlock() { m_mutex.unlock(); }
  // For std::lock_guard / std::unique_lock.
  void lock() { m_mutex.lock(); }
  void unlock() { m_mutex.unlock(); }
  bool try_lock() { return m_mutex.try_lock(); }

 private:
  std::recursive_mutex m_mutex;
};

using AutoLock = std::lock_guard<RecursiveLock>;
