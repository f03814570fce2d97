#include "GraphManager/HelperWindowWithThread.h"

#include "platform/sync/Thread.h"

CHelperWindowWithThread::~CHelperWindowWithThread() { Quit(); }

bool CHelperWindowWithThread::Start() {
  m_quit.ResetEvent();
  m_windowExists.ResetEvent();
  if (!CKxThreadBase::Start(THREAD_PRIORITY_NORMAL)) return false;
  m_windowExists.Wait(INFINITE);
  return true;
}

void CHelperWindowWithThread::Quit() {
  m_quit.Set();
  WaitForThread();
  m_windowExists.ResetEvent();
}

void CHelperWindowWithThread::Run() {
  m_windowExists.Set();
  m_quit.Wait(INFINITE);
}
