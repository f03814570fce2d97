#include "DSFilters/PsiRenderer/engine/AtscMgtReader.h"

#include "logging/LogFile.h"
#include "platform/sync/Clock.h"
#include "psi/PsiIds.h"
#include "psi/atsc/SttSection.h"

namespace {
using namespace psi;

constexpr uint32_t kMgtTimeoutMs = 30000;
constexpr uint32_t kMgtPollMs = 200;
}  // namespace

bool ReadAtscMgt(CSectionSubscription& sections, CPsiProcessorMgt& mgt, int& gpsUtcOffset,
                 const AtscMgtWaits& waits) {
  sections.ClearFilters();
  sections.AddFilter(kPsipPid, kMgtTableId);
  sections.AddFilter(kPsipPid, kSttTableId);
  const uint32_t t0 = GetTickCount();
  for (;;) {
    if (waits.stopRequested()) return false;
    for (const PsiSectionRecord& s : sections.TakeSections()) {
      const uint32_t length = static_cast<uint32_t>(s.data.size());
      if (s.tableId == kMgtTableId) mgt.ProcessSection(s.data.data(), length, s.pid, s.tableId);
      CSttSection stt;
      if (s.tableId == kSttTableId && stt.Parse(s.data.data(), length)) gpsUtcOffset = stt.GPS_UTC_offset;
    }
    if (mgt.IsComplete()) {
      log(4, "MGT complete");
      return true;
    }
    if (GetTickCount() - t0 > kMgtTimeoutMs) {
      log(4, "MGT complete (timeout)");
      return true;
    }
    if (waits.waitSection(kMgtPollMs)) return false;
  }
}

void AddAtscEpgFilters(CSectionSubscription& sections, const CPsiProcessorMgt& mgt) {
  sections.ClearFilters();
  for (uint16_t pid : mgt.EitPids()) sections.AddFilter(pid, kAtscEitTableId);
  for (uint16_t pid : mgt.EttPids()) sections.AddFilter(pid, kEttTableId);
}
