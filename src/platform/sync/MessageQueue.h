#pragma once
// A thread's message queue, standing in for the platform's thread messages
// and hidden message windows: any thread posts, the owning thread takes the
// messages in order and runs its loop until the quit message.
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/sync/Event.h"

constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_USER = 0x0400;

struct ThreadMessage {
  uint32_t id = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

class MessageQueue {
 public:
  MessageQueue() = default;
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  void Post(uint32_t id, uintptr_t wParam = 0, intptr_t lParam = 0);
  // Queued behind the messages posted before it.
  void PostQuit() { Post(WM_QUIT); }
  // Waits for the next message; false when it is the quit message.
  bool Get(ThreadMessage* message);
  // Hands every message to `handler` until the quit message.
  void Run(const std::function<void(const ThreadMessage&)>& handler);

 private:
  std::mutex m_mutex;
  std::deque<ThreadMessage> m_messages;
  Event m_posted{Event::Reset::Manual};
};
