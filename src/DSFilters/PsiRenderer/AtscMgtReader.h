#pragma once
// Reading the ATSC MGT before an EPG scan: it names the EIT and ETT PIDs.
// The System Time Table read alongside gives the GPS-UTC offset.
#include <functional>

#include "DSFilters/PsiRenderer/GpsTime.h"
#include "DSFilters/PsiRenderer/PsiProcessorMgt.h"
#include "DSFilters/PsiRenderer/PsiRendererSplitter.h"

struct AtscMgtWaits {
  std::function<bool()> stopRequested;
  std::function<bool(uint32_t)> waitStop;  // true when a stop ended the wait
};

// Polls the splitter every 200 ms until the MGT is complete or 30 s passed.
// false when a stop was requested (nothing logged then).
bool ReadAtscMgt(CPsiRendererSplitter& splitter, CPsiProcessorMgt& mgt, int& gpsUtcOffset, const AtscMgtWaits& waits);

// The filters of the EIT and ETT PIDs the MGT announced.
void AddAtscEpgFilters(CPsiRendererSplitter& splitter, const CPsiProcessorMgt& mgt);
