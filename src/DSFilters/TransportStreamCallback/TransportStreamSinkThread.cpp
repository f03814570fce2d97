#include "DSFilters/TransportStreamCallback/TransportStreamSinkThread.h"

bool CTransportStreamSinkThread::Start(int priority) {
  Stop();
  m_bStopRequested = false;
  if (!m_thread.Create([this] { Run(); })) return false;
  m_thread.SetPriority(priority);
  m_thread.Resume();
  return true;
}

void CTransportStreamSinkThread::Stop() {
  m_bStopRequested = true;
  m_thread.Join();
}

void CTransportStreamSinkThread::Run() {
  while (!m_bStopRequested) m_pass();
}
