// Throughput of the offline analysis (one pass, every PSI section through the
// channel processors, and with the guide also every EIT section through the
// EPG processor) on the largest test stream, next to a plain memcpy of the
// same bytes; and of the analysis and the EPG reader on the same stream with
// 4 MiB of a repeating 47 00 00 pattern in the middle, which must cost about
// what as many good bytes cost.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "BenchData.h"
#include "DSFilters/PsiRenderer/engine/RecordingAnalysis.h"
#include "DSFilters/PsiRenderer/engine/TransportStreamAnalyzer.h"
#include "DSFilters/PsiRenderer/engine/TransportStreamEpgReader.h"

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

std::vector<uint8_t> WithSyncPattern(std::vector<uint8_t> stream) {
  std::vector<uint8_t> pattern;
  for (size_t i = 0; i < (4u << 20); ++i) pattern.push_back(i % 3 == 1 ? 0x47 : 0x00);
  const size_t middle = stream.size() / 188 / 2 * 188;
  stream.insert(stream.begin() + static_cast<std::ptrdiff_t>(middle), pattern.begin(), pattern.end());
  return stream;
}

void BM_AnalyzeSyncPattern(benchmark::State& state, const char* file) {
  const std::vector<uint8_t> clean = benchdata::ReadStream(file);
  if (clean.empty()) return state.SkipWithError("test stream not found");
  const std::vector<uint8_t> stream = WithSyncPattern(clean);
  for (auto _ : state) benchmark::DoNotOptimize(CTransportStreamAnalyzer(false).Analyze(stream).channels->Size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}

void BM_ReadEpgSyncPattern(benchmark::State& state, const char* file) {
  const std::vector<uint8_t> clean = benchdata::ReadStream(file);
  if (clean.empty()) return state.SkipWithError("test stream not found");
  const std::vector<uint8_t> stream = WithSyncPattern(clean);
  for (auto _ : state) benchmark::DoNotOptimize(CTransportStreamEpgReader(false).Read(stream)->Count());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}

// What `dtv analyze --epg` does: channels and guide from one read.
void BM_AnalyzeWithGuide(benchmark::State& state, const char* file) {
  const std::vector<uint8_t> stream = benchdata::ReadStream(file);
  if (stream.empty()) return state.SkipWithError("test stream not found");
  size_t events = 0;
  for (auto _ : state) {
    CMemoryChunkSource source(stream);
    const RecordingAnalysis result = AnalyzeRecording(source, false, true);
    events = result.events->Count();
    benchmark::DoNotOptimize(events);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
  state.counters["events"] = static_cast<double>(events);
}

}  // namespace

BENCHMARK_CAPTURE(BM_AnalyzeSyncPattern, test_108, "test-108.ts");
BENCHMARK_CAPTURE(BM_ReadEpgSyncPattern, test_108, "test-108.ts");
BENCHMARK_CAPTURE(BM_Memcpy, test_108, "test-108.ts");
BENCHMARK_CAPTURE(BM_Analyze, test_108, "test-108.ts");
BENCHMARK_CAPTURE(BM_AnalyzeWithGuide, test_108, "test-108.ts");
