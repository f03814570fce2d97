#include "Multiplexer.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <stdexcept>

namespace demo {

namespace {
constexpr size_t kPacket = 188;
constexpr size_t kPayload = 184;

Bytes Header(uint16_t pid, bool unitStart, uint8_t adaptation, uint8_t cc) {
  return {0x47, static_cast<uint8_t>((unitStart ? 0x40 : 0) | (pid >> 8)), static_cast<uint8_t>(pid),
          static_cast<uint8_t>(adaptation << 4 | (cc & 0x0F))};
}
}  // namespace

void Multiplexer::AddTable(uint16_t pid, std::vector<Bytes> sections, int intervalMs, int offsetMs) {
  for (double t = offsetMs / 1000.0; t < m_seconds; t += intervalMs / 1000.0)
    m_bursts.push_back({t, pid, sections, {}});
}

void Multiplexer::AddPcr(uint16_t pid, int intervalMs) { m_pcrIntervals[pid] = intervalMs; }

// Sections follow each other directly; a packet where a section starts
// carries a pointer_field to the first of them.
std::vector<Bytes> Multiplexer::Packetize(uint16_t pid, const std::vector<Bytes>& sections) {
  Bytes stream;
  std::vector<size_t> starts;
  for (const Bytes& s : sections) {
    starts.push_back(stream.size());
    stream.insert(stream.end(), s.begin(), s.end());
  }
  std::vector<Bytes> packets;
  size_t pos = 0;
  while (pos < stream.size()) {
    const auto next = std::find_if(starts.begin(), starts.end(), [&](size_t s) { return s >= pos; });
    const bool unitStart = next != starts.end() && *next < pos + kPayload;
    Bytes packet = Header(pid, unitStart, 1, m_cc[pid]++);
    if (unitStart) packet.push_back(static_cast<uint8_t>(*next - pos));
    const size_t take = std::min(stream.size() - pos, kPacket - packet.size());
    packet.insert(packet.end(), stream.begin() + pos, stream.begin() + pos + take);
    pos += take;
    packet.resize(kPacket, 0xFF);
    packets.push_back(std::move(packet));
  }
  return packets;
}

// A unit start whose pointer leads straight to stuffing: carries nothing.
Bytes Multiplexer::StuffingPacket(uint16_t pid) {
  Bytes packet = Header(pid, true, 1, m_cc[pid]++);
  packet.push_back(0x00);
  packet.resize(kPacket, 0xFF);
  return packet;
}

Bytes Multiplexer::PcrPacket(uint16_t pid, double time, bool discontinuity) {
  // Adaptation field only: the continuity counter does not advance.
  Bytes packet = Header(pid, false, 2, m_cc[pid]);
  packet.push_back(183);
  packet.push_back(discontinuity ? 0x90 : 0x10);
  const uint64_t pcr = static_cast<uint64_t>(std::llround(time * 27e6));
  const uint64_t base = pcr / 300, extension = pcr % 300;
  packet.push_back(static_cast<uint8_t>(base >> 25));
  packet.push_back(static_cast<uint8_t>(base >> 17));
  packet.push_back(static_cast<uint8_t>(base >> 9));
  packet.push_back(static_cast<uint8_t>(base >> 1));
  packet.push_back(static_cast<uint8_t>((base & 1) << 7 | 0x7E | (extension >> 8)));
  packet.push_back(static_cast<uint8_t>(extension));
  packet.resize(kPacket, 0xFF);
  return packet;
}

Bytes Multiplexer::NullPacket() {
  Bytes packet = Header(0x1FFF, false, 1, 0);
  packet.resize(kPacket, 0xFF);
  return packet;
}

Bytes Multiplexer::Build() {
  // Packets are numbered in sending order; every table PID is then rounded
  // up to a multiple of 16 packets, so that its continuity counter runs on
  // across the loop.
  std::stable_sort(m_bursts.begin(), m_bursts.end(), [](const Burst& a, const Burst& b) { return a.time < b.time; });
  std::map<uint16_t, size_t> lastBurst;
  for (size_t i = 0; i < m_bursts.size(); ++i) {
    m_bursts[i].packets = Packetize(m_bursts[i].pid, m_bursts[i].sections);
    lastBurst[m_bursts[i].pid] = i;
  }
  for (const auto& [pid, index] : lastBurst)
    while (m_cc[pid] % 16 != 0) m_bursts[index].packets.push_back(StuffingPacket(pid));

  const size_t total = static_cast<size_t>(m_bitrate * m_seconds / (kPacket * 8));
  const double packetTime = kPacket * 8.0 / m_bitrate;
  std::map<uint16_t, double> nextPcr;
  for (const auto& [pid, interval] : m_pcrIntervals) nextPcr[pid] = 0;
  std::deque<Bytes> queue;
  size_t burst = 0;
  Bytes file;
  file.reserve(total * kPacket);
  for (size_t i = 0; i < total; ++i) {
    const double now = i * packetTime;
    while (burst < m_bursts.size() && m_bursts[burst].time <= now) {
      for (Bytes& p : m_bursts[burst].packets) queue.push_back(std::move(p));
      ++burst;
    }
    Bytes packet;
    for (auto& [pid, due] : nextPcr) {
      if (due <= now) {
        packet = PcrPacket(pid, now, due == 0);
        due += m_pcrIntervals[pid] / 1000.0;
        break;
      }
    }
    if (packet.empty() && !queue.empty()) {
      packet = std::move(queue.front());
      queue.pop_front();
    }
    if (packet.empty()) packet = NullPacket();
    file.insert(file.end(), packet.begin(), packet.end());
  }
  if (!queue.empty() || burst < m_bursts.size()) throw std::runtime_error("tables do not fit the bitrate");
  return file;
}

}  // namespace demo
