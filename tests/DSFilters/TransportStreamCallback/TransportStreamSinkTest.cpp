#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "DSFilters/TransportStreamCallback/TransportStreamSink.h"
#include "RecordingCallback.h"

namespace {
constexpr size_t kMiB = 0x100000;

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + seed + i / 251);
  return bytes;
}

std::vector<uint8_t> Concat(const std::vector<uint8_t>& a, const uint8_t* b, size_t bSize) {
  std::vector<uint8_t> all = a;
  all.insert(all.end(), b, b + bSize);
  return all;
}

class TransportStreamSinkTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(S_OK, m_sink->SetCallback(m_callback.Get())); }
  void TearDown() override { m_callback->SetGate(true); }

  // Holds the worker inside OnData with `first` taken out of the ring.
  void HoldWorker(const std::vector<uint8_t>& first) {
    m_callback->SetGate(false);
    m_sink->Receive(first.data(), first.size());
    ASSERT_TRUE(m_callback->WaitForCalls(1));
    ASSERT_EQ(0u, m_sink->BufferedBytes());
  }

  ComPtr<ComObject<CRecordingCallback>> m_callback = ComObject<CRecordingCallback>::Make();
  std::unique_ptr<CTransportStreamSink> m_sink = std::make_unique<CTransportStreamSink>();
};
}  // namespace

TEST_F(TransportStreamSinkTest, NonBlockingOverflowStoresTheRingFullAndLosesTheRest) {
  const auto first = Pattern(188, 1);
  HoldWorker(first);
  const auto big = Pattern(kMiB + kMiB / 2, 2);
  EXPECT_EQ(S_OK, m_sink->Receive(big.data(), big.size()));
  EXPECT_EQ(kMiB, m_sink->BufferedBytes());
  EXPECT_EQ(kMiB / 2, m_sink->LostBytes());

  m_callback->SetGate(true);
  ASSERT_TRUE(m_callback->WaitForBytes(first.size() + kMiB));
  EXPECT_EQ(Concat(first, big.data(), kMiB), m_callback->Data());
  EXPECT_LE(m_callback->LargestCall(), CTransportStreamSink::kReadBufferSize);
}

TEST_F(TransportStreamSinkTest, BlockingModeWithAReaderKeepingUpLosesNothing) {
  m_sink->EnableBlockingMode(VARIANT_TRUE);
  EXPECT_TRUE(m_sink->ReceiveCanBlock());
  // Samples of uneven sizes, several times the ring in all.
  const auto stream = Pattern(5 * kMiB + 4321, 3);
  for (size_t pos = 0, step = 0; pos < stream.size(); ++step) {
    const size_t size = std::min<size_t>(stream.size() - pos, step % 3 == 0 ? 700 * 1024 : 188 * 101);
    EXPECT_EQ(S_OK, m_sink->Receive(stream.data() + pos, size));
    pos += size;
  }
  ASSERT_TRUE(m_callback->WaitForBytes(stream.size()));
  EXPECT_EQ(0u, m_sink->LostBytes());
  EXPECT_EQ(stream, m_callback->Data());
  m_sink->EnableBlockingMode(VARIANT_FALSE);
  EXPECT_FALSE(m_sink->ReceiveCanBlock());
}

TEST_F(TransportStreamSinkTest, BlockingModeGivesUpAfterTheLimit) {
  const auto first = Pattern(188, 4);
  HoldWorker(first);
  m_sink->EnableBlockingMode(VARIANT_TRUE);
  const auto big = Pattern(kMiB + 5000, 5);
  {
    ScopedManualClock clock;
    const uint64_t start = clock->NowMs();
    std::atomic<bool> done{false};
    std::thread streaming([&] {
      m_sink->Receive(big.data(), big.size());
      done = true;
    });
    while (!done) {
      clock->Advance(10);
      std::this_thread::yield();
    }
    streaming.join();
    EXPECT_GE(clock->NowMs() - start, CTransportStreamSink::kBlockingLimitMs);
  }
  EXPECT_EQ(5000u, m_sink->LostBytes());
  EXPECT_EQ(kMiB, m_sink->BufferedBytes());
}

TEST_F(TransportStreamSinkTest, DisabledSinkDropsSilently) {
  m_sink->EnableSink(VARIANT_FALSE);
  const auto dropped = Pattern(50000, 6);
  EXPECT_EQ(S_OK, m_sink->Receive(dropped.data(), dropped.size()));
  EXPECT_EQ(0u, m_sink->BufferedBytes());
  EXPECT_EQ(0u, m_sink->LostBytes());

  m_sink->EnableSink(VARIANT_TRUE);
  const auto kept = Pattern(188, 7);
  m_sink->Receive(kept.data(), kept.size());
  ASSERT_TRUE(m_callback->WaitForBytes(kept.size()));
  EXPECT_EQ(kept, m_callback->Data());
}

TEST_F(TransportStreamSinkTest, ClearBuffersWaitsForTheRunningCallbackAndNothingOlderFollows) {
  const auto first = Pattern(188, 8);
  HoldWorker(first);
  const auto pending = Pattern(500000, 9);
  m_sink->Receive(pending.data(), pending.size());
  EXPECT_EQ(pending.size(), m_sink->BufferedBytes());

  size_t deliveredByTheClear = 0;
  std::thread clearing([&] {
    EXPECT_EQ(S_OK, m_sink->ClearBuffers());
    deliveredByTheClear = m_callback->Data().size();
  });
  m_callback->SetGate(true);  // the held callback finishes; the clear waited for it
  clearing.join();
  EXPECT_EQ(0u, m_sink->BufferedBytes());
  ASSERT_GE(deliveredByTheClear, first.size());

  const auto after = Pattern(1000, 10);
  m_sink->Receive(after.data(), after.size());
  ASSERT_TRUE(m_callback->WaitForBytes(deliveredByTheClear + after.size()));
  const std::vector<uint8_t> data = m_callback->Data();
  // What came before the clear returned is the first bytes and the start of
  // the pending ones; after it, only the new bytes.
  ASSERT_EQ(data.size(), deliveredByTheClear + after.size());
  auto before = Concat(first, pending.data(), deliveredByTheClear - first.size());
  EXPECT_EQ(Concat(before, after.data(), after.size()), data);
}

TEST_F(TransportStreamSinkTest, StopAndStartDeliver) {
  m_sink->StopDeliver();
  const auto refused = Pattern(1000, 11);
  m_sink->Receive(refused.data(), refused.size());
  EXPECT_EQ(0u, m_sink->BufferedBytes());

  m_sink->StartDeliver();
  const auto kept = Pattern(2000, 12);
  m_sink->Receive(kept.data(), kept.size());
  ASSERT_TRUE(m_callback->WaitForBytes(kept.size()));
  EXPECT_EQ(kept, m_callback->Data());
  EXPECT_EQ("stop start ", m_callback->Notes());
}

TEST_F(TransportStreamSinkTest, EndOfStreamRefusesDataUntilRestarted) {
  m_sink->EndOfStream();
  const auto late = Pattern(1000, 13);
  m_sink->Receive(late.data(), late.size());
  EXPECT_EQ(0u, m_sink->BufferedBytes());

  m_sink->StartDeliver();
  m_sink->Receive(late.data(), late.size());
  ASSERT_TRUE(m_callback->WaitForBytes(late.size()));
  EXPECT_EQ(late, m_callback->Data());
}

// A retune's flush drops the old stream's bytes; a delivery that was stopped
// stays stopped, and a stream that had ended takes the new one.
TEST_F(TransportStreamSinkTest, FlushDropsTheOldStreamAndKeepsStoppedDeliveryStopped) {
  enum class Before { Delivering, Stopped, Ended };
  for (const Before before : {Before::Delivering, Before::Stopped, Before::Ended}) {
    SCOPED_TRACE(static_cast<int>(before));
    auto sink = std::make_unique<CTransportStreamSink>();
    auto callback = ComObject<CRecordingCallback>::Make();
    ASSERT_EQ(S_OK, sink->SetCallback(callback.Get()));
    callback->SetGate(false);
    const auto held = Pattern(188, 14), old = Pattern(5000, 15), fresh = Pattern(3000, 16);
    sink->Receive(held.data(), held.size());
    ASSERT_TRUE(callback->WaitForCalls(1));
    sink->Receive(old.data(), old.size());
    if (before == Before::Stopped) sink->StopDeliver();
    if (before == Before::Ended) sink->EndOfStream();
    size_t deliveredByTheFlush = 0;
    std::thread flushing([&] {
      sink->Flush();
      deliveredByTheFlush = callback->Data().size();
    });
    callback->SetGate(true);  // the held callback finishes; the flush waited for it
    flushing.join();
    EXPECT_EQ(0u, sink->BufferedBytes());

    sink->Receive(fresh.data(), fresh.size());
    if (before == Before::Stopped) {
      EXPECT_EQ(0u, sink->BufferedBytes());
      continue;
    }
    ASSERT_TRUE(callback->WaitForBytes(deliveredByTheFlush + fresh.size()));
    ASSERT_GE(deliveredByTheFlush, held.size());
    const auto oldDelivered = Concat(held, old.data(), deliveredByTheFlush - held.size());
    EXPECT_EQ(Concat(oldDelivered, fresh.data(), fresh.size()), callback->Data());
  }
}

TEST_F(TransportStreamSinkTest, CallbackIsRequired) { EXPECT_EQ(E_POINTER, m_sink->SetCallback(nullptr)); }

TEST(TransportStreamSink, WorkerIsJoinedWhileTheCallbackIsHeld) {
  auto callback = ComObject<CRecordingCallback>::Make();
  {
    auto sink = std::make_unique<CTransportStreamSink>();
    sink->SetCallback(callback.Get());
    const auto data = Pattern(188 * 7, 14);
    sink->Receive(data.data(), data.size());
    ASSERT_TRUE(callback->WaitForBytes(data.size()));
  }
  // The sink let go of the callback: this is the one reference left.
  EXPECT_EQ(1u, callback->AddRef() - 1);
  callback->Release();
}
