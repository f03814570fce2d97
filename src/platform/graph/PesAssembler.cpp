#include "platform/graph/PesAssembler.h"

namespace {
constexpr size_t kFixedHeader = 6;     // start code prefix, stream id, length
constexpr size_t kOptionalHeader = 9;  // ... flags and header data length

// Streams without the optional PES header.
bool HasOptionalHeader(uint8_t streamId) {
  switch (streamId) {
    case 0xBC: case 0xBE: case 0xBF: case 0xF0: case 0xF1: case 0xF2: case 0xF8: case 0xFF: return false;
    default: return true;
  }
}

// Where the payload starts in a PES packet; 0 when the header is not complete or not one.
size_t PayloadOffset(const std::vector<uint8_t>& pes) {
  if (pes.size() < kFixedHeader || pes[0] != 0 || pes[1] != 0 || pes[2] != 1) return 0;
  if (!HasOptionalHeader(pes[3])) return kFixedHeader;
  if (pes.size() < kOptionalHeader) return 0;
  const size_t offset = kOptionalHeader + pes[8];
  return pes.size() >= offset ? offset : 0;
}

// The PES packet's announced total size; 0 when unbounded (video).
size_t DeclaredSize(const std::vector<uint8_t>& pes) {
  const size_t length = size_t{pes[4]} << 8 | pes[5];
  return length ? kFixedHeader + length : 0;
}
}  // namespace

void PesAssembler::Add(const TsPacketHeader& packet, const Sink& sink) {
  if (packet.transport_error_indicator) {
    Reset();
    return;
  }
  if (!packet.payload || packet.payload_length == 0) return;  // adaptation field only: counter stays
  const bool continuous = m_nextCounter < 0 || packet.continuity_counter == m_nextCounter;
  m_nextCounter = (packet.continuity_counter + 1) & 0x0F;
  if (packet.payload_unit_start_indicator) {
    Finish(sink);
    Start(packet.payload, packet.payload_length);
  } else if (!continuous) {
    m_collecting = false;
    m_pes.clear();
    return;
  } else if (m_collecting) {
    m_pes.insert(m_pes.end(), packet.payload, packet.payload + packet.payload_length);
  }
  if (m_collecting && m_pes.size() >= kFixedHeader) {
    const size_t declared = DeclaredSize(m_pes);
    if (declared && m_pes.size() >= declared) {
      m_pes.resize(declared);
      Finish(sink);
    }
  }
}

void PesAssembler::Start(const uint8_t* data, uint32_t size) {
  m_pes.assign(data, data + size);
  m_collecting = true;
}

void PesAssembler::Finish(const Sink& sink) {
  if (m_collecting) {
    const size_t offset = PayloadOffset(m_pes);
    if (offset && offset < m_pes.size()) sink(m_pes.data() + offset, m_pes.size() - offset);
  }
  m_collecting = false;
  m_pes.clear();
}

void PesAssembler::Reset() {
  m_collecting = false;
  m_pes.clear();
  m_nextCounter = -1;
}
