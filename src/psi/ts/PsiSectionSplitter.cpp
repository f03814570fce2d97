#include "psi/ts/PsiSectionSplitter.h"

#include <algorithm>

#include "psi/ts/PsiSection.h"

namespace {

constexpr uint8_t kStuffingByte = 0xFF;

uint32_t TotalLength(const uint8_t* section) { return (((section[1] & 0x0Fu) << 8) | section[2]) + 3; }

void Restart(SectionAssembly& entry) {
  entry.buffer.clear();
  // A long section grew the buffer: give the memory back.
  if (entry.buffer.capacity() > SectionAssembly::kBufferStep) {
    entry.buffer.shrink_to_fit();
    entry.buffer.reserve(SectionAssembly::kBufferStep);
  }
  entry.state = SectionAssembly::kIdle;
  entry.expected = 0;
}

}  // namespace

void CPsiSectionSplitter::AddPid(uint16_t pid) {
  std::unique_ptr<SectionAssembly>& entry = m_vPids[pid & 0x1FFF];
  if (!entry) entry = std::make_unique<SectionAssembly>();
  entry->pid = pid & 0x1FFF;
  entry->handler = this;
  m_registeredPids.set(pid & 0x1FFF);
}

void CPsiSectionSplitter::RemovePid(uint16_t pid) {
  m_vPids[pid & 0x1FFF].reset();
  m_registeredPids.reset(pid & 0x1FFF);
}

void CPsiSectionSplitter::ClearPids() {
  for (auto& entry : m_vPids) entry.reset();
  m_registeredPids.reset();
}

bool CPsiSectionSplitter::OnSectionData(uint16_t pid, const uint8_t* data, uint32_t length) {
  CPsiSection section;
  if (!section.Parse(data, length)) return false;
  return OnSection(data, section.total_length, pid, section.table_id);
}

bool CPsiSectionSplitter::CheckContinuity(SectionAssembly& entry, const TsPacketHeader& header) {
  const int32_t counter = header.continuity_counter;
  const int32_t last = entry.lastCounter;
  entry.lastCounter = counter;
  if (last < 0 || header.discontinuity_indicator) {
    entry.repeated = false;
    return true;
  }
  if (counter == last && !entry.repeated) {
    entry.repeated = true;
    return false;
  }
  entry.repeated = false;
  // A lost (or thrice-sent) packet: the section under assembly has a hole.
  if (counter != ((last + 1) & 0x0F) && entry.state == SectionAssembly::kCollecting) Restart(entry);
  return true;
}

void CPsiSectionSplitter::OnPacket(const uint8_t* packet, uint32_t size) {
  // The PID is looked at first: most packets of a stream are not PSI.
  if (size < kTsPacketSize) return;
  const uint16_t pid = static_cast<uint16_t>(((packet[1] & 0x1F) << 8) | packet[2]);
  const bool registered = m_registeredPids.test(pid);
  const bool unitStart = (packet[1] & 0x40) != 0;
  if (!registered && !unitStart) return;
  TsPacketHeader header;
  header.Decode(packet, size);
  if (header.transport_error_indicator || !header.payload || header.payload_length == 0) return;
  if (!registered) {
    const uint32_t pointer = header.payload[0];
    if (pointer + 1 >= header.payload_length || !WantsUnregisteredPid(pid, header.payload[pointer + 1])) return;
    AddPid(pid);
  }
  SectionAssembly& entry = *m_vPids[pid];
  if (!CheckContinuity(entry, header)) return;
  if (header.payload_unit_start_indicator)
    StartUnit(entry, header.payload, header.payload_length);
  else
    Continue(entry, header.payload, header.payload_length);
}

void CPsiSectionSplitter::Continue(SectionAssembly& entry, const uint8_t* payload, uint32_t length) {
  if (entry.state != SectionAssembly::kCollecting) return;
  entry.buffer.insert(entry.buffer.end(), payload, payload + length);
  const uint32_t have = static_cast<uint32_t>(entry.buffer.size());
  // The length field may have been split from the table_id by a packet boundary.
  if (entry.expected == 0 && have >= 3) entry.expected = TotalLength(entry.buffer.data());
  if (entry.expected == 0 || have < entry.expected) return;
  if (entry.handler) entry.handler->OnSectionData(entry.pid, entry.buffer.data(), have);
  Restart(entry);
}

void CPsiSectionSplitter::StartUnit(SectionAssembly& entry, const uint8_t* payload, uint32_t length) {
  const uint32_t pointer = payload[0];
  if (entry.state == SectionAssembly::kCollecting) {
    // The bytes up to the pointer target are the end of the section being collected.
    Continue(entry, payload + 1, std::min(pointer, length - 1));
    if (entry.state == SectionAssembly::kCollecting) Restart(entry);
  }
  // Every section starting in this packet, up to the stuffing or the payload's end.
  uint32_t pos = 1 + pointer;
  while (pos < length && payload[pos] != kStuffingByte) {
    const uint32_t available = length - pos;
    const uint32_t total = available >= 3 ? TotalLength(payload + pos) : 0;
    if (total == 0 || total > available) {
      entry.buffer.insert(entry.buffer.end(), payload + pos, payload + length);
      entry.expected = total;
      entry.state = SectionAssembly::kCollecting;
      return;
    }
    // Read where it lies: a section inside one packet is never copied.
    if (entry.handler) entry.handler->OnSectionData(entry.pid, payload + pos, available);
    pos += total;
  }
}
