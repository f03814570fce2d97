#include "DSFilters/TransportStreamCallback/TransportStreamSinkThread.h"

void CTransportStreamSinkThread::Stop() {
  RequestStop();
  WaitForThread();
}

void CTransportStreamSinkThread::Run() {
  while (!StopRequested()) m_pass();
}
