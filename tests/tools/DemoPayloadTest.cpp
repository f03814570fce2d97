// The demo network's pictures and tones: every audio and video stream is
// PES with one access unit and a PTS each, one unit's duration apart, each
// unit there before it is due, and the units fill the file's loop exactly.
#include <gtest/gtest.h>

#include <optional>
#include <span>

#include "DemoStreams.h"

namespace {

constexpr size_t kPacket = 188;
constexpr double kPtsHz = 90000;

struct PesUnit {
  std::vector<uint8_t> bytes;
  size_t lastPacket = 0;  // index of the packet that completes it
};

uint16_t Pid(const uint8_t* p) { return static_cast<uint16_t>((p[1] & 0x1F) << 8 | p[2]); }

std::span<const uint8_t> Payload(const uint8_t* p) {
  const int control = p[3] >> 4 & 0x03;
  const size_t start = control == 3 ? 5u + p[4] : 4u;
  if (!(control & 1) || start > kPacket) return {};
  return {p + start, kPacket - start};
}

std::optional<uint64_t> Pcr(const uint8_t* p) {
  if (!(p[3] & 0x20) || p[4] < 7 || !(p[5] & 0x10)) return std::nullopt;
  const uint64_t base =
      uint64_t(p[6]) << 25 | uint64_t(p[7]) << 17 | uint64_t(p[8]) << 9 | uint64_t(p[9]) << 1 | p[10] >> 7;
  return base * 300 + ((p[10] & 1u) << 8 | p[11]);
}

std::map<uint16_t, std::vector<PesUnit>> PesUnits(const std::vector<uint8_t>& ts,
                                                  const std::map<uint16_t, StreamCodec>& streams) {
  std::map<uint16_t, std::vector<PesUnit>> units;
  for (size_t i = 0; (i + 1) * kPacket <= ts.size(); ++i) {
    const uint8_t* p = &ts[i * kPacket];
    const std::span<const uint8_t> payload = Payload(p);
    if (!streams.count(Pid(p)) || payload.empty()) continue;
    std::vector<PesUnit>& list = units[Pid(p)];
    // Payload before the first unit start makes a unit that fails its header check.
    if ((p[1] & 0x40) || list.empty()) list.emplace_back();
    list.back().bytes.insert(list.back().bytes.end(), payload.begin(), payload.end());
    list.back().lastPacket = i;
  }
  return units;
}

// The time of each packet, by the first and last PCR of the file.
struct PacketClock {
  size_t firstIndex = 0;
  double firstSeconds = 0;
  double packetSeconds = 0;
  double At(size_t index) const { return firstSeconds + (double(index) - double(firstIndex)) * packetSeconds; }
};

PacketClock ClockOf(const std::vector<uint8_t>& ts) {
  std::optional<std::pair<size_t, uint64_t>> first, last;
  for (size_t i = 0; (i + 1) * kPacket <= ts.size(); ++i) {
    if (const auto pcr = Pcr(&ts[i * kPacket])) {
      if (!first) first = {i, *pcr};
      last = {i, *pcr};
    }
  }
  if (!first || last->first == first->first) return {};
  return {first->first, first->second / 27e6,
          double(last->second - first->second) / 27e6 / double(last->first - first->first)};
}

// The duration of one unit, as the first unit's own header declares it.
uint32_t DeclaredUnitTicks(StreamCodec codec, std::span<const uint8_t> es) {
  if (es.size() < 8) return 0;
  switch (codec) {
    case StreamCodec::Mpeg2Video: {
      const std::map<int, uint32_t> byFrameRateCode = {{2, 3750}, {3, 3600}, {5, 3000}, {6, 1800}, {8, 1500}};
      const auto found = byFrameRateCode.find(es[7] & 0x0F);
      return es[3] == 0xB3 && found != byFrameRateCode.end() ? found->second : 0;
    }
    case StreamCodec::H264:
      return 3600;  // no rate outside the optional VUI: DVB's 25 Hz
    case StreamCodec::MpegAudio: {
      const uint32_t rates[4] = {44100, 48000, 32000, 0};
      const uint32_t rate = rates[es[2] >> 2 & 0x03];
      return rate ? 1152 * 90000 / rate : 0;
    }
    case StreamCodec::Ac3: {
      const uint32_t rates[4] = {48000, 44100, 32000, 0};
      const uint32_t rate = rates[es[4] >> 6];
      return rate ? 1536 * 90000 / rate : 0;
    }
    default:
      return 0;
  }
}

bool StartsAnAccessUnit(StreamCodec codec, std::span<const uint8_t> es) {
  if (es.size() < 5) return false;
  switch (codec) {
    case StreamCodec::Mpeg2Video:
      return es[0] == 0 && es[1] == 0 && es[2] == 1 && (es[3] == 0xB3 || es[3] == 0xB8 || es[3] == 0x00);
    case StreamCodec::H264: {
      const size_t zero = es[0] == 0 && es[1] == 0 && es[2] == 0 ? 1 : 0;  // a 4-byte start code
      return es[zero] == 0 && es[zero + 1] == 0 && es[zero + 2] == 1 && (es[zero + 3] & 0x1F) == 9;
    }
    case StreamCodec::MpegAudio:
      return es[0] == 0xFF && (es[1] & 0xE0) == 0xE0;
    case StreamCodec::Ac3:
      return es[0] == 0x0B && es[1] == 0x77;
    default:
      return false;
  }
}

bool StreamIdFits(StreamCodec codec, uint8_t id) {
  if (codec == StreamCodec::Mpeg2Video || codec == StreamCodec::H264) return (id & 0xF0) == 0xE0;
  if (codec == StreamCodec::MpegAudio) return (id & 0xE0) == 0xC0;
  return id == 0xBD;  // AC-3: private_stream_1
}

// The PTS of a valid PES header, and where its payload starts.
std::optional<std::pair<uint64_t, size_t>> PesHeader(StreamCodec codec, const std::vector<uint8_t>& pes) {
  if (pes.size() < 14 || pes[0] != 0 || pes[1] != 0 || pes[2] != 1 || !StreamIdFits(codec, pes[3])) return std::nullopt;
  const size_t length = size_t(pes[4]) << 8 | pes[5];
  const bool video = codec == StreamCodec::Mpeg2Video || codec == StreamCodec::H264;
  if (length == 0 ? !video : length + 6 != pes.size()) return std::nullopt;
  if ((pes[6] & 0xC0) != 0x80 || (pes[7] & 0xC0) != 0x80 || pes[8] < 5 || 9u + pes[8] > pes.size()) return std::nullopt;
  if ((pes[9] & 0xF1) != 0x21 || !(pes[11] & 1) || !(pes[13] & 1)) return std::nullopt;
  const uint64_t pts = uint64_t(pes[9] >> 1 & 0x07) << 30 | uint64_t(pes[10]) << 22 | uint64_t(pes[11] >> 1) << 15 |
                       uint64_t(pes[12]) << 7 | pes[13] >> 1;
  return std::pair{pts, 9u + pes[8]};
}

void ExpectSteadyPes(StreamCodec codec, const std::vector<PesUnit>& units, const PacketClock& clock,
                     size_t filePackets) {
  ASSERT_FALSE(units.empty()) << "no PES at all";
  uint32_t ticks = 0;
  std::optional<uint64_t> previous;
  for (size_t n = 0; n < units.size(); ++n) {
    const auto header = PesHeader(codec, units[n].bytes);
    ASSERT_TRUE(header) << "no valid PES header with a PTS in unit " << n;
    const auto [pts, payloadStart] = *header;
    const std::span<const uint8_t> es(units[n].bytes.begin() + static_cast<std::ptrdiff_t>(payloadStart),
                                      units[n].bytes.end());
    ASSERT_TRUE(StartsAnAccessUnit(codec, es)) << "unit " << n << " does not start with an access unit";
    if (n == 0) ticks = DeclaredUnitTicks(codec, es);
    ASSERT_GT(ticks, 0u) << "no frame rate declared in the first unit";
    if (previous) {
      ASSERT_EQ(pts - *previous, ticks) << "unit " << n;
    }
    previous = pts;
    EXPECT_LT(clock.At(units[n].lastPacket), pts / kPtsHz) << "unit " << n << " arrives after it is due";
  }
  EXPECT_NEAR(double(units.size() * ticks) / kPtsHz, double(filePackets) * clock.packetSeconds, ticks / kPtsHz / 2)
      << "the units do not fill the loop";
}

TEST(DemoPayload, EveryAudioAndVideoStreamIsSteadyPesFillingTheLoop) {
  for (int mux = 1; mux <= 3; ++mux) {
    SCOPED_TRACE("mux " + std::to_string(mux));
    const std::vector<uint8_t> ts = demotest::ReadDemo(mux);
    const std::map<uint16_t, StreamCodec> streams = demotest::AudioAndVideoStreams(ts);
    ASSERT_GE(streams.size(), 5u) << "every service has audio, most video";
    const PacketClock clock = ClockOf(ts);
    ASSERT_GT(clock.packetSeconds, 0) << "no two PCRs";
    const auto units = PesUnits(ts, streams);
    for (const auto& [pid, codec] : streams) {
      SCOPED_TRACE("PID " + std::to_string(pid));
      ExpectSteadyPes(codec, units.count(pid) ? units.at(pid) : std::vector<PesUnit>{}, clock, ts.size() / kPacket);
    }
  }
}

}  // namespace
