#pragma once
// Lock and signal of a Linux DVB frontend: FE_READ_STATUS, and strength and
// carrier-to-noise from the DVBv5 statistics, with the older calls where a
// driver has no statistics. Both values on a 0 to 100 scale.
#include "platform/bda/TunerFilter.h"
#include "platform/linuxdvb/FrontendIo.h"

SignalStatus ReadFrontendSignal(FrontendIo& io, int fd);

// 0.001 dBm (-100 dBm: 0, -20 dBm: 100) and 0.001 dB carrier-to-noise (30 dB: 100) on the 0 to 100 scale.
LONG StrengthFromMilliDbm(int64_t value);
LONG QualityFromMilliDb(int64_t value);
