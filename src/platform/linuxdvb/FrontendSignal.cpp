#include "platform/linuxdvb/FrontendSignal.h"

#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <optional>

namespace {
LONG Percent(int64_t value, int64_t full) { return static_cast<LONG>(std::clamp<int64_t>(value * 100 / full, 0, 100)); }

std::optional<LONG> FromStatistic(const dtv_property& p, LONG (*fromDecibel)(int64_t)) {
  if (p.u.st.len == 0) return std::nullopt;
  const dtv_stats& s = p.u.st.stat[0];
  if (s.scale == FE_SCALE_DECIBEL) return fromDecibel(s.svalue);
  if (s.scale == FE_SCALE_RELATIVE) return Percent(static_cast<int64_t>(s.uvalue), 65535);
  return std::nullopt;
}

std::optional<LONG> Legacy(FrontendIo& io, int fd, unsigned long request) {
  uint16_t value = 0;
  if (io.Ioctl(fd, request, &value) != 0) return std::nullopt;
  return Percent(value, 65535);
}
}  // namespace

LONG StrengthFromMilliDbm(int64_t value) { return Percent(value + 100000, 80000); }
LONG QualityFromMilliDb(int64_t value) { return Percent(value, 30000); }

SignalStatus ReadFrontendSignal(FrontendIo& io, int fd) {
  SignalStatus signal;
  fe_status_t status{};
  if (io.Ioctl(fd, FE_READ_STATUS, &status) == 0) {
    signal.present = (status & FE_HAS_SIGNAL) != 0;
    signal.locked = (status & FE_HAS_LOCK) != 0;
  }
  dtv_property props[2]{};
  props[0].cmd = DTV_STAT_SIGNAL_STRENGTH;
  props[1].cmd = DTV_STAT_CNR;
  dtv_properties list{2, props};
  std::optional<LONG> strength, quality;
  if (io.Ioctl(fd, FE_GET_PROPERTY, &list) == 0) {
    strength = FromStatistic(props[0], StrengthFromMilliDbm);
    quality = FromStatistic(props[1], QualityFromMilliDb);
  }
  if (!strength) strength = Legacy(io, fd, FE_READ_SIGNAL_STRENGTH);
  if (!quality) quality = Legacy(io, fd, FE_READ_SNR);
  signal.strength = strength.value_or(0);
  signal.quality = quality.value_or(0);
  return signal;
}
