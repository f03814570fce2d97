#include <gtest/gtest.h>

#include "StreamFeed.h"
#include "platform/graph/FilterGraph.h"
#include "platform/graph/Formats.h"
#include "platform/graph/Mpeg2Demultiplexer.h"
#include "support/TestData.h"

namespace {

// Records every sample it receives, whole.
class CCollector : public CBaseFilter {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter>;
  CCollector() : CBaseFilter(u"Collector", GUID_NULL), m_pin(this, &m_lock) {}
  virtual ~CCollector() = default;
  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int index) override { return index == 0 ? &m_pin : nullptr; }
  const std::vector<std::vector<uint8_t>>& Samples() const { return m_pin.samples; }
  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> all;
    for (const auto& s : m_pin.samples) all.insert(all.end(), s.begin(), s.end());
    return all;
  }

 private:
  struct Pin : CBaseInputPin {
    Pin(CBaseFilter* f, RecursiveLock* l) : CBaseInputPin(f, l, u"In") {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE*) override { return S_OK; }
    HRESULT Receive(IMediaSample* sample) override {
      const HRESULT hr = CBaseInputPin::Receive(sample);
      if (hr != S_OK) return hr;
      uint8_t* data = nullptr;
      sample->GetPointer(&data);
      samples.emplace_back(data, data + sample->GetActualDataLength());
      return S_OK;
    }
    std::vector<std::vector<uint8_t>> samples;
  };
  Pin m_pin;
};

// The PES payload of `pid` read straight from the packets: behind the
// adaptation field, and behind the PES header where a PES packet starts,
// from the first start on.
std::vector<uint8_t> PesPayloadOf(const std::vector<uint8_t>& ts, uint16_t pid, size_t* starts) {
  std::vector<uint8_t> payload;
  bool started = false;
  *starts = 0;
  for (const auto& p : PacketsOf(ts, pid)) {
    size_t offset = 4;
    if (p[3] & 0x20) offset += 1 + p[4];
    if (!(p[3] & 0x10) || offset >= 188) continue;
    if (p[1] & 0x40) {
      started = true;
      ++*starts;
      offset += 9 + p[offset + 8];
    }
    if (started) payload.insert(payload.end(), p.begin() + static_cast<std::ptrdiff_t>(offset), p.end());
  }
  return payload;
}

struct DemuxFixture : ::testing::Test {
  ComPtr<ComObject<CFilterGraph>> graph = ComObject<CFilterGraph>::Make();
  ComPtr<ComObject<CTestSource>> source = ComObject<CTestSource>::Make();
  ComPtr<ComObject<CMpeg2Demultiplexer>> demux = ComObject<CMpeg2Demultiplexer>::Make();

  void SetUp() override {
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(demux.Get(), u"MPEG2 Demux"), S_OK);
    ASSERT_EQ(graph->ConnectDirect(PinOf(source.Get(), u"Output").Get(), PinOf(demux.Get(), u"MPEG-2 Stream").Get(), nullptr),
              S_OK);
  }
  ComPtr<ComObject<CCollector>> Output(const char16_t* name, const AM_MEDIA_TYPE& type, ULONG pid,
                                       MEDIA_SAMPLE_CONTENT content) {
    ComPtr<IPin> pin;
    EXPECT_EQ(demux->CreateOutputPin(&type, name, pin.Put()), S_OK);
    auto map = QueryAs<IMPEG2PIDMap>(pin.Get());
    EXPECT_TRUE(map);
    EXPECT_EQ(map->MapPID(1, &pid, content), S_OK);
    auto collector = ComObject<CCollector>::Make();
    EXPECT_EQ(graph->AddFilter(collector.Get(), name), S_OK);
    EXPECT_EQ(graph->ConnectDirect(pin.Get(), PinOf(collector.Get(), u"In").Get(), nullptr), S_OK);
    return collector;
  }
};

const AM_MEDIA_TYPE kMpeg2Video{MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, GUID_NULL, {}};

TEST_F(DemuxFixture, VideoPidAsElementaryStreamDeliversItsPesPayload) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  const std::vector<uint8_t> ts = ReadFileBytes(path);
  constexpr uint16_t kVideoPid = 0x200;  // MPEG-2 video of service 3401
  auto video = Output(u"Video", kMpeg2Video, kVideoPid, MEDIA_ELEMENTARY_STREAM);
  ASSERT_EQ(graph->Run(), S_OK);
  FeedBytes(*source, ts, 1000);
  graph->Stop();

  size_t starts = 0;
  const std::vector<uint8_t> expected = PesPayloadOf(ts, kVideoPid, &starts);
  ASSERT_GT(starts, 10u);
  EXPECT_EQ(video->Samples().size(), starts);  // one sample per PES packet, the last at the end of the stream
  EXPECT_EQ(video->Bytes(), expected);
  for (const auto& sample : video->Samples()) ASSERT_EQ(std::vector<uint8_t>(sample.begin(), sample.begin() + 3), (std::vector<uint8_t>{0, 0, 1}));
}

TEST_F(DemuxFixture, PidAsTransportPacketsDeliversThePacketsInOrder) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  const std::vector<uint8_t> ts = ReadFileBytes(path);
  auto pmt = Output(u"PMT", TransportStreamMediaType(), 0x100, MEDIA_TRANSPORT_PACKET);
  ASSERT_EQ(graph->Run(), S_OK);
  FeedBytes(*source, ts, 777);
  graph->Stop();
  std::vector<uint8_t> expected;
  for (const auto& p : PacketsOf(ts, 0x100)) expected.insert(expected.end(), p.begin(), p.end());
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(pmt->Bytes(), expected);
}

TEST_F(DemuxFixture, PinsAreCreatedAndDeletedByNameWhileRunning) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  const std::vector<uint8_t> ts = ReadFileBytes(path);
  const size_t half = ts.size() / 2 / 188 * 188 + 100;  // not on a packet boundary
  auto pmt = Output(u"PMT", TransportStreamMediaType(), 0x100, MEDIA_TRANSPORT_PACKET);
  ComPtr<IPin> same;
  EXPECT_EQ(demux->CreateOutputPin(&kMpeg2Video, u"PMT", same.Put()), E_INVALIDARG);  // names are unique
  ASSERT_EQ(graph->Run(), S_OK);
  FeedBytes(*source, std::vector<uint8_t>(ts.begin(), ts.begin() + static_cast<std::ptrdiff_t>(half)), 1000);
  const size_t before = pmt->Bytes().size();
  EXPECT_EQ(demux->DeleteOutputPin(u"PMT"), S_OK);
  EXPECT_EQ(demux->DeleteOutputPin(u"PMT"), VFW_E_NOT_FOUND);
  EXPECT_EQ(demux->GetPinCount(), 1);
  FeedBytes(*source, std::vector<uint8_t>(ts.begin() + static_cast<std::ptrdiff_t>(half), ts.end()), 1000);
  graph->Stop();
  EXPECT_GT(before, 0u);
  EXPECT_EQ(pmt->Bytes().size(), before);  // a deleted pin delivers nothing more
}

TEST_F(DemuxFixture, MapIsEnumeratedAndUnmapped) {
  ComPtr<IPin> pin;
  ASSERT_EQ(demux->CreateOutputPin(&kMpeg2Video, u"Video", pin.Put()), S_OK);
  auto map = QueryAs<IMPEG2PIDMap>(pin.Get());
  const ULONG pids[] = {0x200, 0x201};
  ASSERT_EQ(map->MapPID(2, pids, MEDIA_ELEMENTARY_STREAM), S_OK);
  const ULONG tooLarge = 0x2000;
  EXPECT_EQ(map->MapPID(1, &tooLarge, MEDIA_ELEMENTARY_STREAM), E_INVALIDARG);
  std::vector<PID_MAP> entries;
  ASSERT_EQ(map->EnumPIDMap(&entries), S_OK);
  EXPECT_EQ(entries, (std::vector<PID_MAP>{{0x200, MEDIA_ELEMENTARY_STREAM}, {0x201, MEDIA_ELEMENTARY_STREAM}}));
  ASSERT_EQ(map->UnmapPID(1, pids), S_OK);
  ASSERT_EQ(map->EnumPIDMap(&entries), S_OK);
  EXPECT_EQ(entries, (std::vector<PID_MAP>{{0x201, MEDIA_ELEMENTARY_STREAM}}));
}

}  // namespace
