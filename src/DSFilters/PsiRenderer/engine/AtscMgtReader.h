#pragma once
// Reading the ATSC MGT before an EPG scan: it names the EIT and ETT PIDs.
// The System Time Table read alongside gives the GPS-UTC offset.
#include <functional>

#include "DSFilters/PsiRenderer/engine/PsiProcessorMgt.h"
#include "DSFilters/PsiRenderer/engine/SectionSubscription.h"
#include "psi/atsc/GpsTime.h"

struct AtscMgtWaits {
  std::function<bool()> stopRequested;
  std::function<bool(uint32_t)> waitSection;  // waits for a section; true when a stop ended the wait
};

// Polls the splitter every 200 ms until the MGT is complete or 30 s passed.
// false when a stop was requested (nothing logged then).
bool ReadAtscMgt(CSectionSubscription& sections, CPsiProcessorMgt& mgt, int& gpsUtcOffset, const AtscMgtWaits& waits);

// The filters of the EIT and ETT PIDs the MGT announced.
void AddAtscEpgFilters(CSectionSubscription& sections, const CPsiProcessorMgt& mgt);
