#pragma once
// The lock that serialises the writers of one log across modules and processes.
#include <memory>

#include "platform/os/NamedLock.h"

class CLogFileBaseLock {
 public:
  virtual ~CLogFileBaseLock() = default;
  virtual void Lock() = 0;
  // Bounded: false when the lock could not be had in time.
  virtual bool TryLockFor(uint32_t timeoutMs) = 0;
  virtual void Unlock() = 0;
};

class CLogFileMutexLock : public CLogFileBaseLock {
 public:
  explicit CLogFileMutexLock(std::unique_ptr<NamedLock> lock) : m_lock(std::move(lock)) {}
  void Lock() override { m_lock->Lock(); }
  bool TryLockFor(uint32_t timeoutMs) override { return m_lock->TryLockFor(timeoutMs); }
  void Unlock() override { m_lock->Unlock(); }

 private:
  std::unique_ptr<NamedLock> m_lock;
};
