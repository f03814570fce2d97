#include "platform/graph/SystemClock.h"

#include "platform/sync/Clock.h"

HRESULT CSystemClock::GetTime(REFERENCE_TIME* time) {
  if (!time) return E_POINTER;
  *time = static_cast<REFERENCE_TIME>(CurrentClock().NowMs()) * 10000;
  return S_OK;
}
