// Throughput of the offline channel analysis (both passes, every PSI section
// through the channel processors) on the largest test stream, next to a plain
// memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "BenchData.h"
#include "DSFilters/PsiRenderer/TransportStreamAnalyzer.h"

namespace {

void BM_Memcpy(benchmark::State& state, const char* file) {
  const std::vector<uint8_t> stream = benchdata::ReadStream(file);
  if (stream.empty()) return state.SkipWithError("test stream not found");
  std::vector<uint8_t> target(stream.size());
  for (auto _ : state) {
    std::memcpy(target.data(), stream.data(), stream.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}

void BM_Analyze(benchmark::State& state, const char* file) {
  const std::vector<uint8_t> stream = benchdata::ReadStream(file);
  if (stream.empty()) return state.SkipWithError("test stream not found");
  size_t channels = 0;
  for (auto _ : state) {
    const TransportStreamAnalysis result = CTransportStreamAnalyzer(false).Analyze(stream);
    channels = result.channels->Size();
    benchmark::DoNotOptimize(channels);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
  state.counters["channels"] = static_cast<double>(channels);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Memcpy, test_108, "test-108.ts");
BENCHMARK_CAPTURE(BM_Analyze, test_108, "test-108.ts");
