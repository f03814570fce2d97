#include "threads/KxComThreadEx.h"

CKxComThreadEx::~CKxComThreadEx() { WaitForThread(); }

void CKxComThreadEx::OnThreadAttach(bool entering) {
  if (entering) {
    m_initialised = SUCCEEDED(CoInitializeEx(nullptr, m_apartmentFlags));
    return;
  }
  m_stopRequested.store(false, std::memory_order_relaxed);
  if (m_initialised) CoUninitialize();
  m_initialised = false;
}
