// Packet splitter and section assembler on arbitrary bytes. In the packetized
// mode every packet is in sync, so the assembled sections must not depend on
// how the stream is cut into deliveries; a difference aborts.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "psi/ts/PsiSectionSplitter.h"

namespace {

struct Section {
  uint16_t pid;
  std::vector<uint8_t> bytes;
  bool operator==(const Section&) const = default;
};

class Collector : public CPsiSectionSplitter {
 public:
  Collector() {
    for (uint16_t pid = 0; pid < 4; ++pid) AddPid(pid);
  }
  // Through the stream buffer, or read where the bytes lie: the two must agree.
  void PushBuffered(const uint8_t* data, size_t length) {
    Append(data, static_cast<uint32_t>(length));
    ProcessBuffer();
  }
  void PushInPlace(const uint8_t* data, size_t length) { Push(data, static_cast<uint32_t>(length)); }
  // Every assembled section, valid or not, so that the comparison does not
  // depend on the fuzzer finding correct CRCs.
  bool OnSectionData(uint16_t pid, const uint8_t* data, uint32_t length) override {
    const uint32_t total = length >= 3 ? (((data[1] & 0x0Fu) << 8) | data[2]) + 3 : length;
    assembled.push_back({pid, std::vector<uint8_t>(data, data + std::min(total, length))});
    return CPsiSectionSplitter::OnSectionData(pid, data, length);
  }

  std::vector<Section> sections;
  std::vector<Section> assembled;

 protected:
  bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) override {
    // A delivered section is whole: its length field matches and stays in bounds.
    const uint32_t lengthField = ((data[1] & 0x0Fu) << 8) | data[2];
    if (data[0] != tableId || lengthField + 3 != totalLength || totalLength < 8 || totalLength > 4096) abort();
    sections.push_back({pid, std::vector<uint8_t>(data, data + totalLength)});
    return true;
  }
};

// Packets with a sync byte and one of four PIDs; the rest of each header and
// the payload come from the input.
std::vector<uint8_t> Packetize(FuzzedDataProvider& input) {
  std::vector<uint8_t> stream;
  while (input.remaining_bytes() > 0 && stream.size() < 188 * 64) {
    const uint8_t flags = input.ConsumeIntegral<uint8_t>();
    const uint8_t control = input.ConsumeIntegral<uint8_t>();
    std::vector<uint8_t> payload = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 184));
    payload.resize(184, 0xFF);
    stream.insert(stream.end(), {0x47, static_cast<uint8_t>(flags & 0xC0), static_cast<uint8_t>(flags & 0x03), control});
    stream.insert(stream.end(), payload.begin(), payload.end());
  }
  return stream;
}

void FeedInPieces(Collector& c, const std::vector<uint8_t>& stream, uint32_t seed) {
  std::minstd_rand rng(seed);
  std::uniform_int_distribution<size_t> size(1, 400);
  for (size_t pos = 0; pos < stream.size();) {
    const size_t n = std::min(stream.size() - pos, size(rng));
    c.PushInPlace(stream.data() + pos, n);
    pos += n;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const bool packetized = input.ConsumeBool();
  const uint32_t cutSeed = input.ConsumeIntegral<uint32_t>();
  const std::vector<uint8_t> stream =
      packetized ? Packetize(input) : input.ConsumeRemainingBytes<uint8_t>();

  Collector whole;
  whole.PushBuffered(stream.data(), stream.size());

  Collector pieces;
  FeedInPieces(pieces, stream, cutSeed);
  if (packetized && (whole.sections != pieces.sections || whole.assembled != pieces.assembled)) abort();
  return 0;
}
