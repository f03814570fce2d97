#pragma once
// Packet builders and a section-recording splitter for tests.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>
#include <vector>

#include "psi/ts/PsiSectionSplitter.h"

namespace psitest {

using Bytes = std::vector<uint8_t>;

// The next continuity_counter of pid, so that packets made in stream order are continuous.
inline uint8_t NextCounter(uint16_t pid) {
  static std::map<uint16_t, uint8_t> counters;
  return counters[pid]++ & 0x0F;
}

// One 188-byte packet: header, then payload (at most 184 bytes), padded with 0xFF.
// Without cc, the packet continues the PID's previous packet.
inline Bytes MakePacket(uint16_t pid, bool unitStart, const Bytes& payload, int cc = -1) {
  const uint8_t counter = cc < 0 ? NextCounter(pid) : static_cast<uint8_t>(cc);
  Bytes packet = {0x47, static_cast<uint8_t>((unitStart ? 0x40 : 0) | (pid >> 8)), static_cast<uint8_t>(pid & 0xFF),
                  static_cast<uint8_t>(0x10 | (counter & 0x0F))};
  packet.insert(packet.end(), payload.begin(), payload.begin() + std::min<size_t>(payload.size(), 184));
  packet.resize(188, 0xFF);
  return packet;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline Bytes Slice(const Bytes& bytes, size_t from, size_t count) {
  return Bytes(bytes.begin() + from, bytes.begin() + std::min(bytes.size(), from + count));
}

inline Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ReceivedSection {
  uint16_t pid;
  uint8_t tableId;
  Bytes bytes;
  auto operator<=>(const ReceivedSection&) const = default;
};

class SectionCollector : public CPsiSectionSplitter {
 public:
  explicit SectionCollector(std::initializer_list<uint16_t> pids = {}) {
    for (uint16_t pid : pids) AddPid(pid);
  }

  void Push(const Bytes& bytes) { Push(bytes.data(), bytes.size()); }
  void Push(const uint8_t* data, size_t length) {
    Append(data, static_cast<uint32_t>(length));
    ProcessBuffer();
  }

  std::vector<ReceivedSection> sections;

 protected:
  bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) override {
    sections.push_back({pid, tableId, Bytes(data, data + totalLength)});
    return true;
  }
};

}  // namespace psitest
