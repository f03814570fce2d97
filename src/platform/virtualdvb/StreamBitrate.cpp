#include "platform/virtualdvb/StreamBitrate.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {
constexpr size_t kPacket = 188;
constexpr uint64_t kPcrWrap = (uint64_t{1} << 33) * 300;

// The first offset from which three packets in a row start with the sync byte.
std::optional<size_t> FirstSync(std::span<const uint8_t> s) {
  for (size_t i = 0; i < kPacket && i + 2 * kPacket < s.size(); ++i)
    if (s[i] == 0x47 && s[i + kPacket] == 0x47 && s[i + 2 * kPacket] == 0x47) return i;
  return std::nullopt;
}

// The PCR of a packet (27 MHz), if it carries one.
std::optional<uint64_t> Pcr(const uint8_t* p) {
  const bool hasAdaptation = (p[3] & 0x20) != 0;
  if (!hasAdaptation || p[4] < 7 || (p[5] & 0x10) == 0) return std::nullopt;
  const uint64_t base = (uint64_t{p[6]} << 25) | (uint64_t{p[7]} << 17) | (uint64_t{p[8]} << 9) |
                        (uint64_t{p[9]} << 1) | (p[10] >> 7);
  const uint64_t extension = ((p[10] & 0x01u) << 8) | p[11];
  return base * 300 + extension;
}
}  // namespace

std::optional<uint64_t> PcrBitrate(std::span<const uint8_t> stream) {
  const auto sync = FirstSync(stream);
  if (!sync) return std::nullopt;
  std::optional<uint16_t> pid;
  uint64_t firstPcr = 0, lastPcr = 0;
  size_t firstPos = 0, lastPos = 0;
  for (size_t pos = *sync; pos + kPacket <= stream.size(); pos += kPacket) {
    const uint8_t* p = stream.data() + pos;
    if (p[0] != 0x47) continue;
    const uint16_t packetPid = static_cast<uint16_t>(((p[1] & 0x1F) << 8) | p[2]);
    if (pid && packetPid != *pid) continue;
    const auto pcr = Pcr(p);
    if (!pcr) continue;
    if (!pid) {
      pid = packetPid;
      firstPcr = *pcr;
      firstPos = pos;
    }
    lastPcr = *pcr;
    lastPos = pos;
  }
  const uint64_t ticks = (lastPcr + kPcrWrap - firstPcr) % kPcrWrap;
  if (!pid || lastPos == firstPos || ticks == 0) return std::nullopt;
  return (lastPos - firstPos) * 8 * uint64_t{27000000} / ticks;
}

std::string ReadFileStart(const std::string& path, size_t limit) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return {};
  std::ifstream in(path, std::ios::binary);
  std::string bytes(std::min<uintmax_t>(size, limit), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(limit));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}
