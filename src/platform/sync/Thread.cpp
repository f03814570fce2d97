#include "platform/sync/Thread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
int NiceFor(int priority) {
  if (priority <= THREAD_PRIORITY_IDLE) return 19;
  if (priority >= THREAD_PRIORITY_TIME_CRITICAL) return -10;
  return -priority * 5;
}
}  // namespace

SuspendedThread::~SuspendedThread() {
  Resume();
  Join();
}

bool SuspendedThread::Create(std::function<void()> body) {
  if (m_thread.joinable()) return false;
  m_resumed = false;
  try {
    m_thread = std::thread([this, body = std::move(body)] {
      int priority;
      {
        std::unique_lock lock(m_mutex);
        m_cv.wait(lock, [this] { return m_resumed; });
        priority = m_priority;
      }
      if (priority != THREAD_PRIORITY_NORMAL)
        setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), NiceFor(priority));  // may be refused
      body();
    });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void SuspendedThread::SetPriority(int priority) {
  std::lock_guard lock(m_mutex);
  m_priority = priority;
}

void SuspendedThread::Resume() {
  {
    std::lock_guard lock(m_mutex);
    m_resumed = true;
  }
  m_cv.notify_all();
}

void SuspendedThread::Join() {
  if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}
