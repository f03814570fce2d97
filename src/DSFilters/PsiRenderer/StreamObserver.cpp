#include "DSFilters/PsiRenderer/StreamObserver.h"

#include "platform/sync/Clock.h"

namespace {
constexpr uint32_t kPresenceMs = 2500;
constexpr uint32_t kPollMs = 100;
}  // namespace

CStreamObserver::CStreamObserver() { Start(THREAD_PRIORITY_IDLE); }

void CStreamObserver::ThreadProc() {
  do {
    const uint32_t now = GetTickCount();
    const uint32_t last = m_nLastSampleTime.load();
    // Before the first sample there is no stream, however young the tick count.
    if (last == 0)
      m_nStreamPresent = 0;
    else if (now > last)
      m_nStreamPresent = now - last < kPresenceMs ? 1 : 0;
  } while (!WaitStop(kPollMs));
}
