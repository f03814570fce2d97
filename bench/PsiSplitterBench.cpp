// Throughput of packet splitting and section assembly (with CRC check) on
// real streams, next to a plain memcpy of the same bytes and next to
// libdvbpsi gathering the sections of the same PIDs.
#include <benchmark/benchmark.h>
#include <dvbpsi/dvbpsi.h>
#include <dvbpsi/psi.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "BenchData.h"
#include "psi/ts/PsiSectionSplitter.h"

namespace {

// Samples as the media graph delivers them; not a multiple of 188, so
// packets straddle samples.
constexpr size_t kSampleSize = 65536;

struct Stream {
  std::vector<uint8_t> bytes;
  std::set<uint16_t> pids;
};

const Stream& Load(const char* name) {
  static std::map<std::string, Stream> cache;
  auto [it, inserted] = cache.try_emplace(name);
  if (inserted) {
    it->second.bytes = benchdata::ReadStream(name);
    if (!it->second.bytes.empty()) it->second.pids = benchdata::PsiPids(it->second.bytes);
  }
  return it->second;
}

class CountingSplitter : public CPsiSectionSplitter {
 public:
  size_t sections = 0;

 protected:
  bool OnSection(const uint8_t*, uint32_t, uint16_t, uint8_t) override {
    ++sections;
    return true;
  }
};

void BM_SplitterAndAssembler(benchmark::State& state, const char* name) {
  const Stream& stream = Load(name);
  if (stream.bytes.empty()) return state.SkipWithError("shared test stream not found");
  // One splitter for the whole run, as in the receiver: the stream repeats.
  CountingSplitter splitter;
  for (uint16_t pid : stream.pids) splitter.AddPid(pid);
  for (auto _ : state) {
    for (size_t pos = 0; pos < stream.bytes.size(); pos += kSampleSize) {
      const size_t n = std::min(kSampleSize, stream.bytes.size() - pos);
      splitter.Push(stream.bytes.data() + pos, static_cast<uint32_t>(n));
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.bytes.size()));
  state.counters["sections"] = benchmark::Counter(static_cast<double>(splitter.sections) / state.iterations());
}

void BM_Memcpy(benchmark::State& state, const char* name) {
  const Stream& stream = Load(name);
  if (stream.bytes.empty()) return state.SkipWithError("shared test stream not found");
  std::vector<uint8_t> target(kSampleSize);
  for (auto _ : state) {
    for (size_t pos = 0; pos < stream.bytes.size(); pos += kSampleSize) {
      const size_t n = std::min(kSampleSize, stream.bytes.size() - pos);
      std::memcpy(target.data(), stream.bytes.data() + pos, n);
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.bytes.size()));
}

// libdvbpsi: one handle per PID with a decoder that receives every section
// (libdvbpsi checks the CRC before handing a section on).
struct DvbpsiGatherer {
  size_t sections = 0;
  std::array<dvbpsi_t*, 8192> handles{};

  explicit DvbpsiGatherer(const std::set<uint16_t>& pids) {
    for (uint16_t pid : pids) {
      dvbpsi_t* handle = dvbpsi_new(nullptr, DVBPSI_MSG_NONE);
      handle->p_decoder = static_cast<dvbpsi_decoder_t*>(dvbpsi_decoder_new(&Gather, 4096, true, sizeof(dvbpsi_decoder_t)));
      handle->p_sys = this;
      handles[pid] = handle;
    }
  }
  ~DvbpsiGatherer() {
    for (dvbpsi_t* handle : handles) {
      if (!handle) continue;
      dvbpsi_decoder_delete(handle->p_decoder);
      handle->p_decoder = nullptr;
      dvbpsi_delete(handle);
    }
  }
  static void Gather(dvbpsi_t* handle, dvbpsi_psi_section_t* section) {
    ++static_cast<DvbpsiGatherer*>(handle->p_sys)->sections;
    dvbpsi_DeletePSISections(section);
  }
};

void BM_Libdvbpsi(benchmark::State& state, const char* name) {
  const Stream& stream = Load(name);
  if (stream.bytes.empty()) return state.SkipWithError("shared test stream not found");
  std::vector<uint8_t> packet(188);
  DvbpsiGatherer gatherer(stream.pids);
  for (auto _ : state) {
    // The input is packet-aligned; libdvbpsi expects the caller to cut packets.
    for (size_t pos = 0; pos + 188 <= stream.bytes.size(); pos += 188) {
      const uint8_t* p = stream.bytes.data() + pos;
      dvbpsi_t* handle = gatherer.handles[((p[1] & 0x1F) << 8) | p[2]];
      if (!handle) continue;
      std::memcpy(packet.data(), p, 188);  // dvbpsi_packet_push takes a non-const packet
      dvbpsi_packet_push(handle, packet.data());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.bytes.size()));
  state.counters["sections"] = benchmark::Counter(static_cast<double>(gatherer.sections) / state.iterations());
}

}  // namespace

// test-002: a section dump, PSI only (PSI-dense); test-108: a real multiplex capture.
BENCHMARK_CAPTURE(BM_SplitterAndAssembler, test_002, "test-002.sections.ts");
BENCHMARK_CAPTURE(BM_Libdvbpsi, test_002, "test-002.sections.ts");
BENCHMARK_CAPTURE(BM_Memcpy, test_002, "test-002.sections.ts");
BENCHMARK_CAPTURE(BM_SplitterAndAssembler, test_108, "test-108.ts");
BENCHMARK_CAPTURE(BM_Libdvbpsi, test_108, "test-108.ts");
BENCHMARK_CAPTURE(BM_Memcpy, test_108, "test-108.ts");
