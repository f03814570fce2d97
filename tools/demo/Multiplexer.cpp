#include "Multiplexer.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <stdexcept>

namespace demo {

namespace {
constexpr size_t kPacket = 188;
constexpr size_t kPayload = 184;
constexpr uint16_t kNullPid = 0x1FFF;

// The continuity counter is stamped when the packet is sent.
Bytes Header(uint16_t pid, bool unitStart, uint8_t adaptation) {
  return {0x47, static_cast<uint8_t>((unitStart ? 0x40 : 0) | (pid >> 8)), static_cast<uint8_t>(pid),
          static_cast<uint8_t>(adaptation << 4)};
}

// Sections follow each other directly; a packet where a section starts
// carries a pointer_field to the first of them.
std::vector<Bytes> SectionPackets(uint16_t pid, const std::vector<Bytes>& sections) {
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
    Bytes packet = Header(pid, unitStart, 1);
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
Bytes SectionStuffingPacket(uint16_t pid) {
  Bytes packet = Header(pid, true, 1);
  packet.push_back(0x00);
  packet.resize(kPacket, 0xFF);
  return packet;
}

// `pes` over at least `count` packets; a packet short of payload is filled
// up with adaptation-field stuffing, as a PES may not be padded after its end.
std::vector<Bytes> PesPackets(uint16_t pid, const Bytes& pes, size_t count) {
  count = std::max(count, (pes.size() + kPayload - 1) / kPayload);
  if (pes.size() < count) throw std::runtime_error("a PES packet too short to spread over the packets it needs");
  std::vector<Bytes> packets;
  size_t pos = 0;
  for (size_t k = 0; k < count; ++k) {
    const size_t take = std::min(kPayload, pes.size() - pos - (count - 1 - k));
    Bytes packet = Header(pid, k == 0, take < kPayload ? 3 : 1);
    if (take < kPayload) {
      const size_t fieldLength = kPayload - take - 1;
      packet.push_back(static_cast<uint8_t>(fieldLength));
      if (fieldLength > 0) packet.push_back(0x00);  // no flags
      packet.resize(kPacket - take, 0xFF);
    }
    packet.insert(packet.end(), pes.begin() + static_cast<std::ptrdiff_t>(pos),
                  pes.begin() + static_cast<std::ptrdiff_t>(pos + take));
    pos += take;
    packets.push_back(std::move(packet));
  }
  return packets;
}

Bytes NullPacket() {
  Bytes packet = Header(kNullPid, false, 1);
  packet.resize(kPacket, 0xFF);
  return packet;
}

// A packet with payload takes the PID's next counter; one with an adaptation
// field only repeats the last, as decoders expect.
void StampContinuity(Bytes& packet, std::map<uint16_t, uint8_t>& next) {
  const uint16_t pid = static_cast<uint16_t>((packet[1] & 0x1F) << 8 | packet[2]);
  if (pid == kNullPid) return;
  uint8_t& cc = next[pid];
  if (packet[3] & 0x10) {
    packet[3] |= cc;
    cc = (cc + 1) & 0x0F;
  } else {
    packet[3] |= (cc + 15) & 0x0F;
  }
}
}  // namespace

void Multiplexer::AddTable(uint16_t pid, std::vector<Bytes> sections, int intervalMs, int offsetMs) {
  for (double t = offsetMs / 1000.0; t < m_seconds; t += intervalMs / 1000.0)
    m_bursts.push_back({t, std::numeric_limits<double>::infinity(), pid, sections, {}, {}});
}

void Multiplexer::AddPes(uint16_t pid, Bytes pes, double time, double deadline) {
  m_bursts.push_back({time, deadline, pid, {}, std::move(pes), {}});
}

void Multiplexer::AddPcr(uint16_t pid, int intervalMs) { m_pcrIntervals[pid] = intervalMs; }

void Multiplexer::Packetize(Burst& burst, size_t packetCount) {
  burst.packets =
      burst.pes.empty() ? SectionPackets(burst.pid, burst.sections) : PesPackets(burst.pid, burst.pes, packetCount);
}

// Each PID with payload sends a multiple of 16 packets: the last burst of a
// table gets stuffing packets, the last PES packet is spread over more.
void Multiplexer::RoundUpToWholeCounterCycles() {
  std::map<uint16_t, size_t> counts, lastBurst;
  for (size_t i = 0; i < m_bursts.size(); ++i) {
    counts[m_bursts[i].pid] += m_bursts[i].packets.size();
    lastBurst[m_bursts[i].pid] = i;
  }
  for (const auto& [pid, index] : lastBurst) {
    const size_t missing = (16 - counts[pid] % 16) % 16;
    Burst& burst = m_bursts[index];
    if (!burst.pes.empty())
      Packetize(burst, burst.packets.size() + missing);
    else
      burst.packets.insert(burst.packets.end(), missing, SectionStuffingPacket(pid));
  }
}

Bytes Multiplexer::PcrPacket(uint16_t pid, double time, bool discontinuity) {
  Bytes packet = Header(pid, false, 2);
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

Bytes Multiplexer::Build() {
  std::stable_sort(m_bursts.begin(), m_bursts.end(), [](const Burst& a, const Burst& b) { return a.time < b.time; });
  for (Burst& burst : m_bursts) Packetize(burst);
  RoundUpToWholeCounterCycles();

  struct Queued {
    Bytes packet;
    double deadline;
  };
  const size_t total = static_cast<size_t>(m_bitrate * m_seconds / (kPacket * 8));
  const double packetTime = kPacket * 8.0 / m_bitrate;
  std::map<uint16_t, double> nextPcr;
  for (const auto& [pid, interval] : m_pcrIntervals) nextPcr[pid] = 0;
  std::map<uint16_t, uint8_t> continuity;
  std::deque<Queued> queue;
  size_t burst = 0;
  Bytes file;
  file.reserve(total * kPacket);
  for (size_t i = 0; i < total; ++i) {
    const double now = i * packetTime;
    for (; burst < m_bursts.size() && m_bursts[burst].time <= now; ++burst)
      for (Bytes& p : m_bursts[burst].packets) queue.push_back({std::move(p), m_bursts[burst].deadline});
    Bytes packet;
    for (auto& [pid, due] : nextPcr) {
      if (due <= now) {
        packet = PcrPacket(pid, now, due == 0);
        due += m_pcrIntervals[pid] / 1000.0;
        break;
      }
    }
    if (packet.empty() && !queue.empty()) {
      if (now > queue.front().deadline) break;
      packet = std::move(queue.front().packet);
      queue.pop_front();
    }
    if (packet.empty()) packet = NullPacket();
    StampContinuity(packet, continuity);
    file.insert(file.end(), packet.begin(), packet.end());
  }
  if (!queue.empty() || burst < m_bursts.size()) throw std::runtime_error("the content does not fit the bitrate");
  return file;
}

}  // namespace demo
