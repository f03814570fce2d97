#include "threads/KxThreadBase.h"

CKxThreadBase::~CKxThreadBase() { WaitForThread(); }

void CKxThreadBase::WaitForThread() {
  if (!m_handle) return;
  m_handle->Join();
  m_handle.reset();
}

bool CKxThreadBase::Start(int priority) {
  WaitForThread();
  auto thread = std::make_unique<SuspendedThread>();
  const bool created = thread->Create([this] {
    OnThreadAttach(true);
    Run();
    OnThreadAttach(false);
  });
  if (!created) return false;
  thread->SetPriority(priority);
  thread->Resume();
  m_handle = std::move(thread);
  return true;
}
