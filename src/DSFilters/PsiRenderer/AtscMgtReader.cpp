#include "DSFilters/PsiRenderer/AtscMgtReader.h"

#include "logging/LogFile.h"
#include "platform/sync/Clock.h"
#include "psi/atsc/SttSection.h"

namespace {
constexpr uint16_t kPsipPid = 0x1FFB;
constexpr uint32_t kMgtTimeoutMs = 30000;
constexpr uint32_t kMgtPollMs = 200;
}  // namespace

bool ReadAtscMgt(CPsiRendererSplitter& splitter, CPsiProcessorMgt& mgt, int& gpsUtcOffset,
                 const AtscMgtWaits& waits) {
  splitter.ClearFilters();
  splitter.AddFilter(kPsipPid, 0xC7);
  splitter.AddFilter(kPsipPid, 0xCD);
  const uint32_t t0 = GetTickCount();
  for (;;) {
    if (waits.stopRequested()) return false;
    for (const PsiSectionRecord& s : splitter.TakeSections()) {
      const uint32_t length = static_cast<uint32_t>(s.data.size());
      if (s.tableId == 0xC7) mgt.ProcessSection(s.data.data(), length, s.pid, s.tableId);
      CSttSection stt;
      if (s.tableId == 0xCD && stt.Parse(s.data.data(), length)) gpsUtcOffset = stt.GPS_UTC_offset;
    }
    if (mgt.IsComplete()) {
      log(4, "MGT complete");
      return true;
    }
    if (GetTickCount() - t0 > kMgtTimeoutMs) {
      log(4, "MGT complete (timeout)");
      return true;
    }
    if (waits.waitStop(kMgtPollMs)) return false;
  }
}

void AddAtscEpgFilters(CPsiRendererSplitter& splitter, const CPsiProcessorMgt& mgt) {
  splitter.ClearFilters();
  for (uint16_t pid : mgt.EitPids()) splitter.AddFilter(pid, 0xCB);
  for (uint16_t pid : mgt.EttPids()) splitter.AddFilter(pid, 0xCC);
}
