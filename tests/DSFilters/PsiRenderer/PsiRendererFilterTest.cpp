// The PSI renderer filter in a graph: samples in, search/EPG/background EPG
// and the stream information out.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "DSFilters/PsiRenderer/EpgCallback.h"
#include "DSFilters/PsiRenderer/PsiRendererFilter.h"
#include "platform/com/TaskMemory.h"
#include "platform/graph/FilterGraph.h"
#include "platform/graph/TestFilters.h"
#include "support/TestData.h"

namespace {

struct FilterGraphFixture : ::testing::Test {
  ScopedManualClock clock;
  ComPtr<ComObject<CFilterGraph>> graph = ComObject<CFilterGraph>::Make();
  ComPtr<ComObject<CTestSource>> source = ComObject<CTestSource>::Make();
  ComPtr<IBaseFilter> filter;
  ComPtr<IMpeg2PsiReader> reader;
  ComPtr<ComObject<CMediaSample>> sample = ComObject<CMediaSample>::Make(188 * 100);

  void SetUp() override {
    ASSERT_EQ(CPsiRendererFilter::CreateFilter(filter.Put()), S_OK);
    reader = QueryAs<IMpeg2PsiReader>(filter.Get());
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(filter.Get(), u"PSI Renderer"), S_OK);
    ASSERT_EQ(graph->ConnectDirect(PinOf(source.Get(), u"Output").Get(), PinOf(filter.Get(), u"Input").Get(), nullptr),
              S_OK);
    ASSERT_EQ(graph->Run(), S_OK);
  }
  void TearDown() override { graph->Stop(); }

  void Push(const uint8_t* data, size_t length) {
    uint8_t* buffer = nullptr;
    sample->GetPointer(&buffer);
    std::copy(data, data + length, buffer);
    sample->SetActualDataLength(static_cast<LONG>(length));
    ASSERT_EQ(source->Push(sample.Get()), S_OK);
  }
  // Moves the clock and waits until the filter's workers saw the new time.
  bool Advance(uint64_t ms) {
    clock->Advance(ms);
    return clock->WaitUntilIdle();
  }
  // Plays the stream in a loop: about a tenth of a second of it per 100 ms
  // of clock time, until `done` or 60 s of clock time passed.
  template <typename Done>
  bool AdvanceUntil(Done done, const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    constexpr size_t kStep = 188 * 100;
    size_t pos = 0;
    for (int i = 0; i < 600 && !done(); ++i) {
      for (int k = 0; k < 10; ++k, pos = (pos + kStep) % bytes.size())
        Push(&bytes[pos], std::min(kStep, bytes.size() - pos));
      if (!Advance(100)) return false;
    }
    return done();
  }
};

TEST_F(FilterGraphFixture, AcceptsOnlyTransportStreamTypes) {
  ComPtr<IPin> pin = PinOf(filter.Get(), u"Input");
  const AM_MEDIA_TYPE bda{MEDIATYPE_Stream, KSDATAFORMAT_SUBTYPE_BDA_MPEG2_TRANSPORT, GUID_NULL, {}};
  const AM_MEDIA_TYPE video{MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_TRANSPORT, GUID_NULL, {}};
  const AM_MEDIA_TYPE ts = TransportStreamMediaType();
  EXPECT_EQ(pin->QueryAccept(&ts), S_OK);
  EXPECT_EQ(pin->QueryAccept(&bda), S_OK);
  EXPECT_EQ(pin->QueryAccept(&video), S_FALSE);
  ComPtr<IPin> none;
  EXPECT_EQ(filter->FindPin(u"Output", none.Put()), VFW_E_NOT_FOUND);
}

TEST_F(FilterGraphFixture, InterfacesNeedInitAndShareOneRunningFlag) {
  ComPtr<IChannelSearch> search = QueryAs<IChannelSearch>(filter.Get());
  ComPtr<IEpg> epg = QueryAs<IEpg>(filter.Get());
  ComPtr<IBackgroundEpg> background = QueryAs<IBackgroundEpg>(filter.Get());
  ASSERT_TRUE(search && epg && background);
  EXPECT_EQ(search->StartChannelScan(0), E_POINTER);
  EXPECT_EQ(epg->StartEpgScan(), E_POINTER);
  EXPECT_EQ(reader->Init(7), E_FAIL);
  EXPECT_EQ(search->StartChannelScan(0), E_POINTER) << "no objects after an unsupported type";

  ASSERT_EQ(reader->Init(PsiRenderer_NetworkType_Dvbt), S_OK);
  EXPECT_EQ(search->StartChannelScan(0), S_OK);
  EXPECT_EQ(search->StartChannelScan(0), S_FALSE);
  EXPECT_EQ(epg->StartEpgScan(), S_FALSE) << "the search runs";
  struct NoCallback : IEpgCallback {
    HRESULT OnEpgEvents(IEpgEvents*) override { return S_OK; }
  } callback;
  EXPECT_EQ(background->StartBackgroundEpg(&callback), S_FALSE);
  EXPECT_EQ(background->StartBackgroundEpg(nullptr), E_POINTER);
  EXPECT_EQ(epg->StopEpgScan(), S_OK);  // clears the shared flag, the search keeps running
  EXPECT_EQ(epg->StartEpgScan(), S_OK);
  EXPECT_EQ(search->StopChannelScan(), S_OK);
  EXPECT_EQ(epg->StopEpgScan(), S_OK);
  ComPtr<ITransponderFrequencies> frequencies;
  EXPECT_EQ(search->get_TransponderFrequencies(frequencies.Put()), S_OK);
  ASSERT_EQ(reader->Init(PsiRenderer_NetworkType_Atsc), S_OK);
  EXPECT_EQ(search->get_TransponderFrequencies(frequencies.Put()), E_NOTIMPL);
}

TEST_F(FilterGraphFixture, InitAgainStopsWhatRanAndRacesWithNoInterfaceCall) {
  ComPtr<IEpg> epg = QueryAs<IEpg>(filter.Get());
  ComPtr<IBackgroundEpg> background = QueryAs<IBackgroundEpg>(filter.Get());
  struct NoCallback : IEpgCallback {
    HRESULT OnEpgEvents(IEpgEvents*) override { return S_OK; }
  } callback;
  ASSERT_EQ(reader->Init(PsiRenderer_NetworkType_Dvbt), S_OK);
  ASSERT_EQ(background->StartBackgroundEpg(&callback), S_OK);
  ASSERT_EQ(reader->Init(PsiRenderer_NetworkType_Dvbt), S_OK);
  EXPECT_EQ(epg->StartEpgScan(), S_OK) << "the new objects start with nothing running";
  EXPECT_EQ(epg->StopEpgScan(), S_OK);

  // Interface calls on one thread while another initialises again.
  std::thread initialiser([&] {
    for (int i = 0; i < 50; ++i) reader->Init(i % 2 ? PsiRenderer_NetworkType_Atsc : PsiRenderer_NetworkType_Dvbt);
  });
  for (int i = 0; i < 50; ++i) {
    VARIANT_BOOL completed;
    epg->StartEpgScan();
    epg->get_IsEpgScanCompleted(&completed);
    epg->StopEpgScan();
  }
  initialiser.join();
  EXPECT_EQ(epg->StartEpgScan(), S_OK);
  EXPECT_EQ(epg->StopEpgScan(), S_OK);
}

TEST_F(FilterGraphFixture, NoStreamIsPresentBeforeTheFirstSample) {
  // The tick count is young (the fixture's clock starts at 1 s): still no stream.
  VARIANT_BOOL exists = VARIANT_TRUE;
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(Advance(100));
    ASSERT_EQ(reader->get_StreamExist(&exists), S_OK);
    EXPECT_EQ(exists, VARIANT_FALSE) << clock->NowMs();
  }
}

TEST_F(FilterGraphFixture, StreamIsPresentUntil2500MsAfterTheLastNonEmptySample) {
  const uint8_t packet[188] = {0x47, 0x1F, 0xFF, 0x10};
  VARIANT_BOOL exists = VARIANT_TRUE;
  const uint64_t last = clock->NowMs();
  Push(packet, 188);
  auto present = [&] {
    reader->get_StreamExist(&exists);
    return exists == VARIANT_TRUE;
  };
  for (int i = 0; i < 50 && !present(); ++i) ASSERT_TRUE(Advance(100));
  ASSERT_TRUE(present());
  Push(packet, 0);  // an empty sample does not count
  while (present() && clock->NowMs() - last < 5000) ASSERT_TRUE(Advance(100));
  EXPECT_FALSE(present());
  EXPECT_GE(clock->NowMs() - last, 2500u);
  EXPECT_LE(clock->NowMs() - last, 2700u);
  EXPECT_EQ(reader->get_StreamExist(nullptr), E_POINTER);
}

TEST_F(FilterGraphFixture, PmtSectionsTransponderInfoAndTheirReset) {
  const std::filesystem::path stream = std::string(DTV_DEMO_DIR) + "/demo-mux1.ts";
  ASSERT_EQ(reader->Init(PsiRenderer_NetworkType_Dvbt), S_OK);
  uint8_t* section = reinterpret_cast<uint8_t*>(1);
  LONG length = -1;
  EXPECT_EQ(reader->GetPmtSection(257, &section, &length), S_FALSE);
  EXPECT_EQ(section, nullptr);
  EXPECT_EQ(length, 0);

  ASSERT_TRUE(AdvanceUntil(
      [&] {
        CoTaskMemFree(section);  // the caller frees every copy it gets
        section = nullptr;
        return reader->GetPmtSection(257, &section, &length) == S_OK;
      },
      stream));
  ASSERT_GT(length, 12);
  EXPECT_EQ(section[0], 0x02);
  EXPECT_EQ(section[3] << 8 | section[4], 257);
  CoTaskMemFree(section);

  LONG frequency = 0, polarisation = 0, symbolRate = 0, orbital = 0;
  ASSERT_TRUE(AdvanceUntil(
      [&] {
        reader->get_TransponderInfo(&frequency, &polarisation, &symbolRate, &orbital);
        return frequency > 0;
      },
      stream));
  EXPECT_EQ(frequency, 47400000) << "474 MHz in the NIT's 10 Hz units";
  VARIANT_BOOL scrambled = VARIANT_TRUE;
  ASSERT_TRUE(AdvanceUntil([&] { return reader->get_IsScrambled(257, &scrambled) == S_OK; }, stream));
  EXPECT_EQ(scrambled, VARIANT_FALSE);

  EXPECT_EQ(reader->ResetStreamInfo(), S_OK);
  EXPECT_EQ(reader->GetPmtSection(257, &section, &length), S_FALSE);
  EXPECT_EQ(reader->get_IsScrambled(257, &scrambled), S_FALSE);
}

}  // namespace
