#include "platform/sync/MessageQueue.h"

void MessageQueue::Post(uint32_t id, uintptr_t wParam, intptr_t lParam) {
  {
    std::lock_guard lock(m_mutex);
    m_messages.push_back({id, wParam, lParam});
  }
  m_posted.Set();
}

bool MessageQueue::Get(ThreadMessage* message) {
  for (;;) {
    m_posted.Wait(INFINITE);
    std::lock_guard lock(m_mutex);
    if (m_messages.empty()) {
      m_posted.ResetEvent();
      continue;
    }
    *message = m_messages.front();
    m_messages.pop_front();
    if (m_messages.empty()) m_posted.ResetEvent();
    return message->id != WM_QUIT;
  }
}

void MessageQueue::Run(const std::function<void(const ThreadMessage&)>& handler) {
  ThreadMessage message;
  while (Get(&message)) handler(message);
}
