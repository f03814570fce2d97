#include "threads/KxThreadBase.h"

CKxThreadBase::~CKxThreadBase() {
  // On its own thread (the last reference went there) the thread is let go
  // instead of waiting for itself.
  WaitForThread();
  m_handle.reset();
}

bool CKxThreadBase::WaitForThread() {
  if (!m_handle) return true;
  if (!m_handle->Join()) return false;
  m_handle.reset();
  return true;
}

bool CKxThreadBase::Start(int priority) {
  if (!WaitForThread()) return false;
  auto thread = std::make_unique<SuspendedThread>();
  const bool created = thread->Create([this] {
    OnThreadAttach(true);
    Run();
    OnThreadAttach(false);
  });
  if (!created) return false;
  thread->SetPriority(priority);
  // Known as this object's thread before it runs: the body may ask for it.
  m_handle = std::move(thread);
  m_handle->Resume();
  return true;
}
