#pragma once
// A thread with its own message queue: the body sets itself up and runs the
// queue's loop; other threads post to it and stop it with the quit message.
#include <functional>
#include <memory>

#include "platform/sync/MessageQueue.h"
#include "platform/sync/Thread.h"

class MessageThread {
 public:
  MessageThread() = default;
  MessageThread(const MessageThread&) = delete;
  MessageThread& operator=(const MessageThread&) = delete;
  // Quits and joins a running thread (no time-out).
  ~MessageThread();

  // Starts `body` on a new thread with a new queue. False while a thread
  // runs or when none could be created.
  bool Start(std::function<void(MessageQueue&)> body, int priority = THREAD_PRIORITY_NORMAL);
  // Starts a thread that hands each message to `handler` until quit.
  bool StartLoop(std::function<void(const ThreadMessage&)> handler, int priority = THREAD_PRIORITY_NORMAL);
  bool IsRunning() const { return m_thread != nullptr; }

  // Posting to a thread that is not running does nothing.
  void Post(uint32_t id, uintptr_t wParam = 0, intptr_t lParam = 0);
  // Posts the quit message and waits at most `timeoutMs` for the thread. A
  // late thread is let go, keeping its queue; false then.
  bool Stop(uint32_t timeoutMs);

 private:
  std::shared_ptr<MessageQueue> m_queue;
  std::unique_ptr<SuspendedThread> m_thread;
};
