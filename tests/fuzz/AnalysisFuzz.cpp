// The whole offline analysis on arbitrary bytes: channels, events and every
// output (text, JSON, XMLTV), which must stay sound whatever the stream held.
// The first byte chooses: bit 0 the ATSC tables, bit 1 raw bytes as a file
// holds them, or else blocks of 185 bytes packed into packets (one byte for
// the PID and the unit start, 184 of payload) so that most inputs reach the
// tables and the text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "DSFilters/PsiRenderer/engine/TransportStreamAnalyzer.h"
#include "DSFilters/PsiRenderer/engine/TransportStreamEpgReader.h"
#include "support/AnalysisOutputChecks.h"

namespace {

constexpr uint16_t kPids[] = {0x0000, 0x0001, 0x0010, 0x0011, 0x0012, 0x1FFB, 0x0100, 0x0101};

std::vector<uint8_t> Packetized(const uint8_t* data, size_t size) {
  std::vector<uint8_t> stream;
  for (size_t i = 0; i + 185 <= size; i += 185) {
    const uint16_t pid = kPids[data[i] & 7];
    const uint8_t header[] = {0x47, static_cast<uint8_t>((data[i] & 0x80 ? 0x40 : 0) | (pid >> 8)),
                              static_cast<uint8_t>(pid & 0xFF), static_cast<uint8_t>(0x10 | (i / 185 & 0x0F))};
    stream.insert(stream.end(), header, header + 4);
    stream.insert(stream.end(), data + i + 1, data + i + 185);
  }
  return stream;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool atsc = data[0] & 1;
  const std::vector<uint8_t> stream =
      data[0] & 2 ? std::vector<uint8_t>(data + 1, data + size) : Packetized(data + 1, size - 1);
  const TransportStreamAnalysis analysis = CTransportStreamAnalyzer(atsc).Analyze(stream);
  const auto events = CTransportStreamEpgReader(atsc).Read(stream);
  const std::string problem = outputcheck::Check(analysis, *events);
  if (!problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
