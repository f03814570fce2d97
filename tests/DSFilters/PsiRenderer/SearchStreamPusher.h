#pragma once
// Feeds a recorded stream into a splitter over and over on its own thread, in
// chunks that cut packets, as a tuner would. Tests advance the manual clock
// only after a whole repetition went in, so no time-out can outrun the data.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>
#include <vector>

#include "DSFilters/PsiRenderer/PsiRendererSplitter.h"
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
    m_Thread = std::thread([this] { Run(); });
  }
  ~SearchStreamPusher() {
    m_bStop = true;
    m_Thread.join();
  }

  // Lets one more repetition go in, then advances the clock by ms; false
  // when the pusher did not manage within a real-time bound.
  bool Step(ManualClock& clock, uint32_t ms) {
    const uint64_t target = m_nRepetitions.load() + 1;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (m_nRepetitions.load() < target)
      if (std::chrono::steady_clock::now() > until) return false;
      else std::this_thread::sleep_for(std::chrono::microseconds(200));
    clock.Advance(ms);
    // Gives the worker a moment to see the new time before the next step.
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    return true;
  }

 private:
  void Run() {
    constexpr size_t kChunk = 1000;  // not a multiple of the packet size
    while (!m_bStop) {
      const std::vector<uint8_t>& stream = m_nRepetitions < m_nHeldRepetitions ? m_vHeld : m_vStream;
      for (size_t pos = 0; pos < stream.size() && !m_bStop; pos += kChunk) {
        const size_t count = std::min(kChunk, stream.size() - pos);
        m_Splitter.PushSample(stream.data() + pos, static_cast<uint32_t>(count));
      }
      ++m_nRepetitions;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  CPsiRendererSplitter& m_Splitter;
  const uint64_t m_nHeldRepetitions;
  std::vector<uint8_t> m_vStream;
  std::vector<uint8_t> m_vHeld;  // without the held PIDs
  std::atomic<bool> m_bStop{false};
  std::atomic<uint64_t> m_nRepetitions{0};
  std::thread m_Thread;
};
