#include "live/StreamClock.h"

namespace {
// PCRs come at least every 100 ms; a larger step is a discontinuity.
constexpr uint64_t kMaxStep = 90000;
constexpr uint64_t kPcrWrap = uint64_t{1} << 33;
}  // namespace

void StreamClock::OnPacket(const uint8_t* p) {
  const int pid = ((p[1] & 0x1F) << 8) | p[2];
  const bool hasAdaptation = (p[3] & 0x20) != 0;
  if (!hasAdaptation || p[4] < 7 || (p[5] & 0x10) == 0) return;
  if (m_pcrPid < 0) m_pcrPid = pid;
  if (pid != m_pcrPid) return;
  const uint64_t pcr = (uint64_t{p[6]} << 25) | (uint64_t{p[7]} << 17) | (uint64_t{p[8]} << 9) |
                       (uint64_t{p[9]} << 1) | (uint64_t{p[10]} >> 7);
  if (m_lastPcr) {
    const uint64_t step = (pcr + kPcrWrap - *m_lastPcr) % kPcrWrap;
    if (step <= kMaxStep) m_elapsed += step;
  }
  m_lastPcr = pcr;
}
