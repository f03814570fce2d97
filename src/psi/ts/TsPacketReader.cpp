#include "psi/ts/TsPacketReader.h"

#include <algorithm>
#include <cstring>

#include "psi/ts/TsPacketHeader.h"

namespace {

constexpr size_t kChunk = 1 << 20;
// Small inputs (sections dumps, tests) need no large buffer.
constexpr size_t kFirstChunk = 1 << 16;
// Consecutive sync bytes that make a packet size believable.
constexpr uint32_t kConfirmations = 5;
// At the very end of the input fewer have to do, but never a lone one.
constexpr uint32_t kFewestConfirmations = 2;
constexpr uint32_t kSizes[] = {188, 204, 192};
constexpr uint32_t kLargestSize = 204;
// Enough bytes behind any position to confirm a packet size there.
constexpr size_t kLookahead = (kConfirmations + 1) * kLargestSize;
// A recording with bad reception has a gap every few packets.
constexpr size_t kListedWarnings = 20;
// Input that shows no packet in its first bytes is not a recording.
constexpr uint64_t kGiveUpAfter = 4 << 20;

// The timecode of a 192-byte packet comes before its sync byte.
constexpr uint32_t Lead(uint32_t size) { return size == 192 ? 4 : 0; }

}  // namespace

CTsPacketReader::CTsPacketReader(IByteSource& source)
    : m_source(source),
      m_buffer(std::make_unique_for_overwrite<uint8_t[]>(kFirstChunk + kLookahead)),
      m_nCapacity(kFirstChunk + kLookahead) {}

std::span<const uint8_t> CTsPacketReader::Next() {
  m_packets.clear();
  while (m_packets.size() + kTsPacketSize <= kChunk && m_error.empty()) {
    if (!Fill()) break;
    if (m_nBegin == m_nEnd) {
      EndOfInput();
      break;
    }
    if (m_bInSync && m_nPacketSize == kTsPacketSize && m_packets.empty()) {
      // Plain packets in sync, the normal case: handed out where they lie.
      const size_t run = PlainRun();
      if (run != 0) {
        const std::span<const uint8_t> packets(m_buffer.get() + m_nBegin, run);
        m_nBegin += run;
        return packets;
      }
    }
    if (m_bInSync)
      Step();
    else
      Seek();
  }
  return m_packets;
}

size_t CTsPacketReader::PlainRun() const {
  // Packets that Step would take one by one: each followed by the next one's
  // sync byte, with the lookahead Fill keeps behind the last of them.
  const uint8_t* data = m_buffer.get();
  size_t end = m_nBegin;
  while (end + kLookahead <= m_nEnd && end - m_nBegin < kChunk && data[end] == kTsSyncByte &&
         data[end + kTsPacketSize] == kTsSyncByte)
    end += kTsPacketSize;
  return end - m_nBegin;
}

bool CTsPacketReader::Fill() {
  if (m_bEnd || m_nEnd - m_nBegin >= kLookahead) return true;
  // Only the few bytes behind the last position move.
  std::memmove(m_buffer.get(), m_buffer.get() + m_nBegin, m_nEnd - m_nBegin);
  m_nBufferOffset += m_nBegin;
  m_nEnd -= m_nBegin;
  m_nBegin = 0;
  while (m_nEnd < kLookahead) {
    const size_t got = m_source.Read(std::span(m_buffer.get() + m_nEnd, m_nCapacity - m_nEnd));
    if (got == 0) {
      m_bEnd = true;
      m_error = m_source.Error();
      return m_error.empty();
    }
    m_nEnd += got;
  }
  // The source keeps up: read bigger chunks.
  if (m_nEnd == m_nCapacity && m_nCapacity < kChunk + kLookahead) {
    // Not zero-filled first: every byte is read into before it is looked at.
    const size_t capacity = std::min(2 * m_nCapacity, kChunk + kLookahead);
    auto larger = std::make_unique_for_overwrite<uint8_t[]>(capacity);
    std::memcpy(larger.get(), m_buffer.get(), m_nEnd);
    m_buffer = std::move(larger);
    m_nCapacity = capacity;
  }
  return true;
}

void CTsPacketReader::Step() {
  const uint32_t size = m_nPacketSize;
  const uint32_t lead = Lead(size);
  const uint8_t* unit = m_buffer.get() + m_nBegin;
  const size_t available = m_nEnd - m_nBegin;
  // Short of a whole packet only at the end of the input.
  if (available < size) {
    if (available <= lead || unit[lead] == kTsSyncByte) {
      m_nTrailingBytes = static_cast<uint32_t>(available);
      Skipped(Offset(m_nBegin), Offset(m_nEnd), "the stream ends inside a packet");
      m_nBegin = m_nEnd;
      return;
    }
  } else if (unit[lead] == kTsSyncByte && !IsCut()) {
    m_packets.insert(m_packets.end(), unit + lead, unit + lead + kTsPacketSize);
    m_nBegin += size;
    return;
  }
  m_bInSync = false;
  m_nSkipFrom = Offset(m_nBegin);
}

bool CTsPacketReader::IsCut() const {
  const uint32_t size = m_nPacketSize;
  const size_t next = m_nBegin + size + Lead(size);
  if (next >= m_nEnd || m_buffer[next] == kTsSyncByte) return false;
  // No packet where the next should start: either junk follows this packet,
  // or it lost bytes and the next one starts inside it. Only the second makes
  // it worthless; the bytes looked at here are consumed either way.
  for (size_t unit = m_nBegin + 1; unit < m_nBegin + size; ++unit)
    if (Locks(unit, size, m_bEnd)) return true;
  return false;
}

bool CTsPacketReader::Locks(size_t unit, uint32_t size, bool atEnd) const {
  uint32_t confirmed = 0;
  for (size_t sync = unit + Lead(size); confirmed < kConfirmations; sync += size) {
    if (sync >= m_nEnd) return atEnd && confirmed >= kFewestConfirmations;
    if (m_buffer[sync] != kTsSyncByte) return false;
    ++confirmed;
  }
  return true;
}

void CTsPacketReader::Seek() {
  // Positions that have all the bytes a confirmation may need behind them;
  // at the end of the input, every position.
  const size_t limit = m_bEnd ? m_nEnd : m_nEnd - std::min(m_nEnd - m_nBegin, kLookahead - 1);
  for (size_t unit = m_nBegin; unit < limit; ++unit) {
    for (uint32_t size : kSizes) {
      if (m_nPacketSize != 0 && size != m_nPacketSize) continue;
      if (!Locks(unit, size, m_bEnd)) continue;
      Skipped(m_nSkipFrom, Offset(unit), "no packet sync");
      m_nPacketSize = size;
      m_bInSync = true;
      m_nBegin = unit;
      return;
    }
  }
  m_nBegin = limit;
  if (m_nPacketSize == 0 && Offset(m_nBegin) >= kGiveUpAfter)
    m_error = "not a transport stream: no packet sync in the first " + std::to_string(kGiveUpAfter >> 20) + " MiB";
}

void CTsPacketReader::EndOfInput() {
  if (m_nPacketSize == 0) {
    m_error = Offset(m_nEnd) == 0 ? "not a transport stream: the input is empty"
                                  : "not a transport stream: no 188-, 192- or 204-byte packets found";
  } else if (!m_bInSync) {
    Skipped(m_nSkipFrom, Offset(m_nEnd), "no packet sync");
    m_bInSync = true;
  }
}

void CTsPacketReader::Skipped(uint64_t from, uint64_t to, const char* reason) {
  if (to <= from) return;
  if (m_vWarnings.size() == kListedWarnings) {
    ++m_nMoreRuns;
    m_nMoreBytes += to - from;
    return;
  }
  m_vWarnings.push_back("skipped " + std::to_string(to - from) + " bytes at offset " + std::to_string(from) + ": " +
                        reason);
}

std::vector<std::string> CTsPacketReader::Warnings() const {
  std::vector<std::string> warnings = m_vWarnings;
  if (m_nMoreRuns != 0)
    warnings.push_back("skipped " + std::to_string(m_nMoreBytes) + " bytes more in " + std::to_string(m_nMoreRuns) +
                       " more places");
  return warnings;
}
