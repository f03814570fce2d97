// The ATSC guide from the MGT, STT, EIT and ETT: offline in one pass, and in
// the background while a channel is watched.
#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <string>

#include "AtscSections.h"
#include "DSFilters/PsiRenderer/EpgCallbackSink.h"
#include "DSFilters/PsiRenderer/engine/BackgroundEpgAtsc.h"
#include "DSFilters/PsiRenderer/engine/TransportStreamEpgReader.h"
#include "SplitterSections.h"
#include "platform/com/BStr.h"
#include "platform/com/ComPtr.h"
#include "platform/sync/Event.h"
#include "psi/atsc/GpsTime.h"

namespace {

using namespace atsctest;

constexpr uint16_t kEitPid = 0x1D00;
constexpr uint16_t kEttPid = 0x1E00;
constexpr uint16_t kPsipPid = 0x1FFB;

// Packets in stream order, each PID's counter continuing.
class StreamBuilder {
 public:
  StreamBuilder& Add(uint16_t pid, const Bytes& section) {
    const Bytes packet = splittertest::Packet(pid, m_mapCounters[pid]++, section);
    bytes.insert(bytes.end(), packet.begin(), packet.end());
    return *this;
  }
  Bytes bytes;

 private:
  std::map<uint16_t, uint8_t> m_mapCounters;
};

// Records what the background EPG delivers: event id -> text, and wakes the test.
class RecordingCallback : public IEpgCallback {
 public:
  HRESULT OnEpgEvents(IEpgEvents* events) override {
    LONG count = 0;
    events->get_Count(&count);
    {
      std::lock_guard lock(m_lock);
      for (LONG i = 0; i < count; ++i) {
        ComPtr<IEpgEvent> event;
        events->get_Item(i, event.Put());
        LONG id = 0;
        BSTR text = nullptr;
        event->get_EventId(&id);
        event->get_Text(&text);
        delivered[id].push_back(std::u16string(BStr::Attach(text).View()));
      }
    }
    arrived.Set();
    return S_OK;
  }
  std::map<LONG, std::vector<std::u16string>> Delivered() {
    std::lock_guard lock(m_lock);
    return delivered;
  }
  Event arrived{Event::Reset::Auto};

 private:
  std::mutex m_lock;
  std::map<LONG, std::vector<std::u16string>> delivered;
};

}  // namespace

// A two-section EIT, an STT announcing 15 leap seconds and an ETT, with the
// first EIT section before the MGT that names its PID.
TEST(AtscGuideOffline, TwoSectionEitTextAndTheStreamsLeapSeconds) {
  StreamBuilder stream;
  stream.Add(kPsipPid, Stt(15))
      .Add(kEitPid, AtscEit(1, 10, "First", 0, 1))
      .Add(kPsipPid, Mgt(kEitPid, kEttPid))
      .Add(kEitPid, AtscEit(1, 11, "Second", 1, 1))
      .Add(kEttPid, AtscEtt(1, 10, "About the first"));
  const auto events = CTransportStreamEpgReader(true).Read(stream.bytes);
  auto& entries = events->Entries();
  ASSERT_EQ(entries.size(), 2u);
  const CEpgEvent& first = entries.at({-1, -1, 1, 10}).event;
  const CEpgEvent& second = entries.at({-1, -1, 1, 11}).event;
  EXPECT_EQ(first.m_bstrEventName, u"First");
  EXPECT_EQ(second.m_bstrEventName, u"Second");
  EXPECT_EQ(first.m_bstrText, u"About the first");
  EXPECT_EQ(first.m_llStartTime, kGpsEpochUnixSeconds + kStartGps - 15);
  EXPECT_EQ(second.m_llEndTime - second.m_llStartTime, 3600);
}

// Also with the stream's own leap seconds (15, not the default 18).
TEST(AtscGuideBackground, TwoSectionEitGivesAllEventsAndALaterEttDeliversTheEventAgain) {
  CPsiRendererSplitter splitter;
  CBackgroundEpgAtsc epg(splitter, PsiRenderer_NetworkType_Atsc);
  RecordingCallback callback;
  CEpgCallbackSink sink(&callback);
  epg.SetSink(&sink);
  ASSERT_TRUE(epg.Start(THREAD_PRIORITY_NORMAL));
  StreamBuilder tables;
  // The STT first: whenever the worker takes the MGT, it has the leap seconds.
  tables.Add(kPsipPid, Stt(15))
      .Add(kPsipPid, Mgt(kEitPid, kEttPid))
      .Add(kEitPid, AtscEit(1, 10, "First", 0, 1))
      .Add(kEitPid, AtscEit(1, 11, "Second", 1, 1));
  // Sent as a broadcast repeats them, until the worker, once it has the MGT, has read both sections.
  for (int i = 0; i < 400 && callback.Delivered().size() < 2; ++i) {
    splitter.PushSample(tables.bytes.data(), static_cast<uint32_t>(tables.bytes.size()));
    callback.arrived.Wait(50);
  }
  auto delivered = callback.Delivered();
  ASSERT_EQ(delivered.size(), 2u) << "both sections of the EIT";
  EXPECT_EQ(delivered[10], std::vector<std::u16string>{u""});

  StreamBuilder ett;
  ett.Add(kEttPid, AtscEtt(1, 10, "About the first"));
  for (int i = 0; i < 400 && callback.Delivered()[10].size() < 2; ++i) {
    splitter.PushSample(ett.bytes.data(), static_cast<uint32_t>(ett.bytes.size()));
    callback.arrived.Wait(50);
  }
  epg.Stop();
  delivered = callback.Delivered();
  EXPECT_EQ(delivered[10], (std::vector<std::u16string>{u"", u"About the first"})) << "again, with its text";
  EXPECT_EQ(delivered[11].size(), 1u) << "unchanged: delivered once";
  EXPECT_EQ(epg.GetEvents()->Entries().at({-1, -1, 1, 11}).event.m_llStartTime,
            kGpsEpochUnixSeconds + kStartGps - 15);
}
