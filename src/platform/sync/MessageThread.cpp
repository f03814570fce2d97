#include "platform/sync/MessageThread.h"

MessageThread::~MessageThread() { Stop(INFINITE); }

bool MessageThread::Start(std::function<void(MessageQueue&)> body, int priority) {
  if (m_thread) return false;
  auto queue = std::make_shared<MessageQueue>();
  auto thread = std::make_unique<SuspendedThread>();
  if (!thread->Create([queue, body = std::move(body)] { body(*queue); })) return false;
  thread->SetPriority(priority);
  thread->Resume();
  m_queue = std::move(queue);
  m_thread = std::move(thread);
  return true;
}

bool MessageThread::StartLoop(std::function<void(const ThreadMessage&)> handler, int priority) {
  return Start([handler = std::move(handler)](MessageQueue& queue) { queue.Run(handler); }, priority);
}

void MessageThread::Post(uint32_t id, uintptr_t wParam, intptr_t lParam) {
  if (m_queue) m_queue->Post(id, wParam, lParam);
}

bool MessageThread::Stop(uint32_t timeoutMs) {
  if (!m_thread) return true;
  m_queue->PostQuit();
  const bool ended = m_thread->JoinFor(timeoutMs);
  m_thread.reset();
  m_queue.reset();
  return ended;
}
