#include "platform/sync/Thread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>

#include "platform/sync/Clock.h"
#include "platform/sync/Event.h"

namespace {
int NiceFor(int priority) {
  if (priority <= THREAD_PRIORITY_IDLE) return 19;
  if (priority >= THREAD_PRIORITY_TIME_CRITICAL) return -10;
  return -priority * 5;
}
}  // namespace

// Shared with the running thread, so that a thread let go never touches a
// destroyed object.
struct SuspendedThread::State {
  std::mutex mutex;
  std::condition_variable cv;
  bool resumed = false;
  int priority = THREAD_PRIORITY_NORMAL;
  Event finished{Event::Reset::Manual};
};

SuspendedThread::SuspendedThread() : m_state(std::make_shared<State>()) {}

SuspendedThread::~SuspendedThread() {
  Resume();
  if (IsCurrentThread())
    m_thread.detach();
  else
    Join();
}

bool SuspendedThread::Create(std::function<void()> body) {
  if (m_thread.joinable()) return false;
  m_state = std::make_shared<State>();
  try {
    m_thread = std::thread([state = m_state, body = std::move(body)] {
      NoticeThreadEnd();
      int priority;
      {
        std::unique_lock lock(state->mutex);
        state->cv.wait(lock, [&] { return state->resumed; });
        priority = state->priority;
      }
      if (priority != THREAD_PRIORITY_NORMAL)
        setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), NiceFor(priority));  // may be refused
      body();
      state->finished.Set();
    });
  } catch (const std::system_error&) {
    return false;
  }
  CurrentClock().ThreadCreated(m_thread.get_id());
  return true;
}

void SuspendedThread::SetPriority(int priority) {
  std::lock_guard lock(m_state->mutex);
  m_state->priority = priority;
}

void SuspendedThread::Resume() {
  {
    std::lock_guard lock(m_state->mutex);
    m_state->resumed = true;
  }
  m_state->cv.notify_all();
}

bool SuspendedThread::IsCurrentThread() const { return m_thread.get_id() == std::this_thread::get_id(); }

bool SuspendedThread::Join() {
  if (!m_thread.joinable()) return true;
  if (IsCurrentThread()) return false;
  m_thread.join();
  return true;
}

bool SuspendedThread::JoinFor(uint32_t timeoutMs) {
  if (!m_thread.joinable()) return true;
  if (IsCurrentThread()) return false;
  if (m_state->finished.Wait(timeoutMs)) {
    m_thread.join();
    return true;
  }
  m_thread.detach();
  return false;
}
