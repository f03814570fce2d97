#include "platform/os/NamedLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/sync/Clock.h"

namespace {

int OpenLockFile(const std::string& path) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

void FlockRetrying(int fd, int operation) {
  while (::flock(fd, operation) != 0 && errno == EINTR) {
  }
}

}  // namespace

std::string NamedLock::DirectoryPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return runtime && *runtime ? runtime : "/tmp";
}

std::unique_ptr<NamedLock> NamedLock::Create(const std::string& name, bool* alreadyExisted) {
  if (name.empty()) return nullptr;
  std::string fileName = name;
  std::replace(fileName.begin(), fileName.end(), '/', '_');
  const std::string base = DirectoryPath() + "/" + fileName;
  const int presence = OpenLockFile(base + ".lock");
  if (presence < 0) return nullptr;
  const int mutex = OpenLockFile(base + ".mutex");
  if (mutex < 0) {
    ::close(presence);
    return nullptr;
  }
  // Nobody else holds the name when the exclusive lock is free.
  const bool existed = ::flock(presence, LOCK_EX | LOCK_NB) != 0;
  FlockRetrying(presence, LOCK_SH);
  if (alreadyExisted) *alreadyExisted = existed;
  return std::unique_ptr<NamedLock>(new NamedLock(presence, mutex));
}

NamedLock::~NamedLock() {
  ::close(m_mutexFd);
  ::close(m_presenceFd);
}

void NamedLock::Lock() {
  m_threads.lock();
  FlockRetrying(m_mutexFd, LOCK_EX);
}

bool NamedLock::TryLockFor(uint32_t timeoutMs) {
  constexpr uint32_t kRetryMs = 10;
  m_threads.lock();
  const uint64_t deadline = CurrentClock().NowMs() + timeoutMs;
  for (;;) {
    if (::flock(m_mutexFd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) break;
    if (CurrentClock().NowMs() >= deadline) break;
    SleepMs(kRetryMs);
  }
  m_threads.unlock();
  return false;
}

void NamedLock::Unlock() {
  FlockRetrying(m_mutexFd, LOCK_UN);
  m_threads.unlock();
}
