#include "DSFilters/PsiRenderer/engine/PsiReaderSimpleThread.h"

CPsiReaderSimpleThread::~CPsiReaderSimpleThread() { Stop(); }

bool CPsiReaderSimpleThread::Start(int priority) {
  Stop();
  AutoLock lock(m_lock);
  m_StopEvent.ResetEvent();
  const bool created = m_Thread.Create([this] {
    ThreadProc();
    AutoLock done(m_lock);
    m_bRunning = false;
  });
  if (!created) return false;
  m_bRunning = true;
  m_Thread.SetPriority(priority);
  m_Thread.Resume();
  return true;
}

void CPsiReaderSimpleThread::Stop() {
  m_StopEvent.Set();
  // Joined outside the lock: the ending thread takes it.
  if (m_Thread.Joinable()) m_Thread.Join();
}

bool CPsiReaderSimpleThread::IsRunning() const {
  AutoLock lock(m_lock);
  return m_bRunning;
}
