#pragma once
// Feeds a recorded stream into a splitter one repetition per step, in chunks
// that cut packets, as a tuner would. The clock moves only after a whole
// repetition went in, and a step ends when every worker has seen the new
// time, so no time-out can outrun the data.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "DSFilters/PsiRenderer/engine/PsiRendererSplitter.h"
#include "platform/sync/Clock.h"

class SearchStreamPusher {
 public:
  // Packets of droppedPids are left out of the stream; those of heldPids
  // only for the first heldRepetitions repetitions (a table that comes late).
  SearchStreamPusher(CPsiRendererSplitter& splitter, const std::filesystem::path& file,
                     const std::set<uint16_t>& droppedPids = {}, const std::set<uint16_t>& heldPids = {},
                     uint64_t heldRepetitions = 0)
      : m_Splitter(splitter), m_nHeldRepetitions(heldRepetitions) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (size_t pos = 0; pos + 188 <= bytes.size(); pos += 188) {
      const uint16_t pid = static_cast<uint16_t>(((bytes[pos + 1] & 0x1F) << 8) | bytes[pos + 2]);
      if (droppedPids.contains(pid)) continue;
      m_vStream.insert(m_vStream.end(), bytes.begin() + pos, bytes.begin() + pos + 188);
      if (!heldPids.contains(pid)) m_vHeld.insert(m_vHeld.end(), bytes.begin() + pos, bytes.begin() + pos + 188);
    }
  }

  // Pushes one more repetition, advances the clock by ms and waits until the
  // workers saw it; false when they did not within a real-time bound.
  bool Step(ManualClock& clock, uint32_t ms) {
    constexpr size_t kChunk = 1000;  // not a multiple of the packet size
    const std::vector<uint8_t>& stream = m_nRepetitions++ < m_nHeldRepetitions ? m_vHeld : m_vStream;
    for (size_t pos = 0; pos < stream.size(); pos += kChunk)
      m_Splitter.PushSample(stream.data() + pos, static_cast<uint32_t>(std::min(kChunk, stream.size() - pos)));
    clock.Advance(ms);
    return clock.WaitUntilIdle();
  }

 private:
  CPsiRendererSplitter& m_Splitter;
  const uint64_t m_nHeldRepetitions;
  std::vector<uint8_t> m_vStream;
  std::vector<uint8_t> m_vHeld;  // without the held PIDs
  uint64_t m_nRepetitions = 0;
};
