#pragma once
// A PES packet around one access unit, stamped with its presentation time.
#include <cstdint>

#include "SectionWriter.h"

namespace demo {

// `pts` in 90 kHz ticks (33 bits). Without B-frames the decoding time is the
// presentation time, so no DTS is sent.
Bytes PesPacket(uint8_t streamId, uint64_t pts, const Bytes& unit);

}  // namespace demo
