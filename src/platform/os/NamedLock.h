#pragma once
// A lock shared by name between processes, standing in for a named mutex.
// Every open handle holds a shared flock on <dir>/<name>.lock, so "already
// existed" means some handle (in any process, this one included) is open;
// Lock/Unlock hold an exclusive flock on <dir>/<name>.mutex. <dir> is
// $XDG_RUNTIME_DIR, or /tmp when it is unset.
#include <memory>
#include <mutex>
#include <string>
#include <cstdint>

class NamedLock {
 public:
  // Opens the lock `name` (a '/' in it becomes '_'); nothing when the lock
  // files cannot be opened.
  static std::unique_ptr<NamedLock> Create(const std::string& name, bool* alreadyExisted);
  static std::string DirectoryPath();

  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;
  ~NamedLock();

  // Waits without time-out; not re-entrant.
  void Lock();
  // Waits at most `timeoutMs` of the current clock's time; false when another
  // process still holds the lock (then the caller must not call Unlock).
  bool TryLockFor(uint32_t timeoutMs);
  void Unlock();

 private:
  NamedLock(int presenceFd, int mutexFd) : m_presenceFd(presenceFd), m_mutexFd(mutexFd) {}

  int m_presenceFd;
  int m_mutexFd;
  // flock does not exclude threads that share one descriptor.
  std::mutex m_threads;
};
