#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "DSH/DSH.h"
#include "platform/bda/BdaTypes.h"
#include "platform/graph/FileWriterFilter.h"
#include "platform/graph/FilterGraph.h"
#include "platform/graph/Formats.h"
#include "platform/graph/InfTee.h"
#include "platform/graph/Mpeg2Demultiplexer.h"
#include "platform/graph/NullAudioDecoder.h"
#include "platform/graph/NullRenderer.h"
#include "platform/graph/NullVideoDecoder.h"
#include "platform/graph/StreamDumpFilter.h"
#include "platform/graph/StreamFeed.h"
#include "platform/graph/SystemClock.h"
#include "platform/graph/TestFilters.h"
#include "support/TempDir.h"

namespace {

struct FiltersFixture : ::testing::Test {
  ComPtr<ComObject<CFilterGraph>> graph = ComObject<CFilterGraph>::Make();
  ComPtr<ComObject<CTestSource>> source = ComObject<CTestSource>::Make();

  ComPtr<IBaseFilter> Add(const CLSID& clsid, const char16_t* name) {
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(DSH::CreateFilterByClassId(clsid, filter.Put()), S_OK);
    EXPECT_EQ(DSH::AddFilterToGraph(graph.Get(), filter.Get(), name), S_OK);
    return filter;
  }
  void SetUp() override { ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK); }
  std::vector<uint8_t> Packets(int count, uint8_t seed) {
    std::vector<uint8_t> bytes(188 * static_cast<size_t>(count), seed);
    for (size_t at = 0; at < bytes.size(); at += 188) bytes[at] = 0x47;
    return bytes;
  }
};

TEST_F(FiltersFixture, EveryStandardClassIsCreatedByItsId) {
  for (const CLSID& clsid : {CLSID_InfTee, CLSID_MPEG2Demultiplexer, CLSID_StreamDumpFilter, CLSID_NullVideoDecoder,
                             CLSID_NullAudioDecoder, CLSID_NullVideoRenderer, CLSID_NullAudioRenderer, CLSID_FileWriter,
                             CLSID_ATSCNetworkProvider, CLSID_DVBTNetworkProvider, CLSID_DVBSNetworkProvider,
                             CLSID_DVBCNetworkProvider, CLSID_NetworkProvider}) {
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(DSH::CreateFilterByClassId(clsid, filter.Put()), S_OK) << GuidToString(clsid);
    ASSERT_TRUE(filter);
  }
  ComPtr<IBaseFilter> none;
  EXPECT_EQ(DSH::CreateFilterByClassId(GUID_NULL, none.Put()), static_cast<HRESULT>(0x80040154));
  EXPECT_FALSE(none);
  EXPECT_EQ(DSH::CreateFilterByClassId(CLSID_InfTee, nullptr), E_POINTER);
}

TEST_F(FiltersFixture, TeeGivesEveryOutputEverySampleAndAlwaysHasAFreeOutput) {
  ComPtr<IBaseFilter> tee = Add(CLSID_InfTee, u"InfTee");
  ASSERT_EQ(DSH::ConnectFilters(graph.Get(), source.Get(), tee.Get()), S_OK);
  std::vector<ComPtr<ComObject<CTestRenderer>>> renderers;
  for (int i = 0; i < 3; ++i) {
    ComPtr<IPin> free;
    ASSERT_EQ(DSH::FindFreePin(tee.Get(), PINDIR_OUTPUT, nullptr, 0, free.Put()), S_OK);
    renderers.push_back(ComObject<CTestRenderer>::Make());
    ASSERT_EQ(graph->AddFilter(renderers.back().Get(), u"Renderer"), S_OK);
    ASSERT_EQ(DSH::ConnectPinToFilter(graph.Get(), free.Get(), renderers.back().Get(), true), S_OK);
  }
  std::vector<ComPtr<IPin>> pins;
  tee->EnumPins(&pins);
  EXPECT_EQ(pins.size(), 5u);  // input, three connected, one free
  ComPtr<IPin> second;
  EXPECT_EQ(DSH::FindFreePin(tee.Get(), PINDIR_OUTPUT, nullptr, 1, second.Put()), VFW_E_NOT_FOUND);

  ASSERT_EQ(graph->Run(), S_OK);
  FeedBytes(*source, Packets(10, 1), 1000);
  graph->Stop();
  for (const auto& r : renderers) {
    EXPECT_EQ(r->Lengths(), (std::vector<LONG>{1000, 880}));
    EXPECT_TRUE(r->AtEndOfStream());
  }
}

TEST_F(FiltersFixture, UnconnectedDemultiplexerPinsAreRemoved) {
  ComPtr<IBaseFilter> demux = Add(CLSID_MPEG2Demultiplexer, u"MPEG2 Demux");
  auto control = QueryAs<IMpeg2Demultiplexer>(demux.Get());
  const AM_MEDIA_TYPE video{MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, GUID_NULL, {}};
  const AM_MEDIA_TYPE audio{MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_AUDIO, GUID_NULL, {}};
  ComPtr<IPin> videoPin, audioPin;
  ASSERT_EQ(control->CreateOutputPin(&video, u"Video", videoPin.Put()), S_OK);
  ASSERT_EQ(control->CreateOutputPin(&audio, u"Audio", audioPin.Put()), S_OK);
  ComPtr<IPin> audioByType;
  ASSERT_EQ(DSH::FindFreePin(demux.Get(), PINDIR_OUTPUT, &MEDIATYPE_Audio, 0, audioByType.Put()), S_OK);
  EXPECT_EQ(audioByType.Get(), audioPin.Get());
  ComPtr<IBaseFilter> decoder = Add(CLSID_NullVideoDecoder, u"Video Decoder");
  ASSERT_EQ(DSH::ConnectPinToFilter(graph.Get(), videoPin.Get(), decoder.Get(), true), S_OK);

  ASSERT_EQ(DSH::DeleteAllUnconnectedPins(demux.Get()), S_OK);
  ComPtr<IPin> left;
  EXPECT_EQ(demux->FindPin(u"Video", left.Put()), S_OK);
  EXPECT_EQ(demux->FindPin(u"Audio", left.Put()), VFW_E_NOT_FOUND);
  EXPECT_EQ(DSH::DeleteAllUnconnectedPins(source.Get()), E_NOINTERFACE);
}

TEST_F(FiltersFixture, PausedRendererIsIntermediateUntilItsFirstSample) {
  ScopedManualClock clock;
  ComPtr<IBaseFilter> renderer = Add(CLSID_NullVideoRenderer, u"Video Renderer");
  ComPtr<IBaseFilter> decoder = Add(CLSID_NullVideoDecoder, u"Video Decoder");
  // Video reaches the decoder through a demultiplexer pin.
  ComPtr<IBaseFilter> demux = Add(CLSID_MPEG2Demultiplexer, u"MPEG2 Demux");
  ASSERT_EQ(DSH::ConnectFilters(graph.Get(), source.Get(), demux.Get()), S_OK);
  const AM_MEDIA_TYPE video{MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, GUID_NULL, {}};
  ComPtr<IPin> videoPin;
  ASSERT_EQ(QueryAs<IMpeg2Demultiplexer>(demux.Get())->CreateOutputPin(&video, u"Video", videoPin.Put()), S_OK);
  ASSERT_EQ(DSH::ConnectPinToFilter(graph.Get(), videoPin.Get(), decoder.Get(), true), S_OK);
  ASSERT_EQ(DSH::ConnectFilters(graph.Get(), decoder.Get(), renderer.Get()), S_OK);

  ASSERT_EQ(graph->Pause(), S_OK);
  FILTER_STATE state = State_Stopped;
  Event queried;
  HRESULT hr = S_OK;
  std::thread query([&] {
    hr = graph->GetState(100, &state);
    queried.Set();
  });
  while (!queried.Wait(0)) clock->Advance(10);  // the wait runs on the clock
  query.join();
  EXPECT_EQ(hr, VFW_S_STATE_INTERMEDIATE);
  EXPECT_EQ(state, State_Paused);

  // The end of the stream completes the pause as a sample would.
  source->Output().DeliverEndOfStream();
  EXPECT_EQ(graph->GetState(0, &state), S_OK);
  graph->Stop();
  EXPECT_EQ(graph->GetState(0, &state), S_OK);
  EXPECT_EQ(state, State_Stopped);
}

TEST_F(FiltersFixture, GraphReferenceClockFollowsTheInjectableClock) {
  ScopedManualClock clock(5000);
  auto systemClock = ComObject<CSystemClock>::Make();
  ComPtr<IReferenceClock> none;
  EXPECT_EQ(graph->GetSyncSource(none.Put()), S_FALSE);
  ASSERT_EQ(graph->SetSyncSource(systemClock.Get()), S_OK);
  ComPtr<IReferenceClock> set;
  ASSERT_EQ(graph->GetSyncSource(set.Put()), S_OK);
  EXPECT_EQ(set.Get(), static_cast<IReferenceClock*>(systemClock.Get()));
  REFERENCE_TIME before = 0, after = 0;
  set->GetTime(&before);
  clock->Advance(40);
  set->GetTime(&after);
  EXPECT_EQ(after - before, 40 * 10000);
}

TEST_F(FiltersFixture, StreamDumpPassesTheStreamOnAndWritesItToItsFile) {
  TempDir dir;
  const std::string path = dir / "dump.ts";
  auto dump = ComObject<CStreamDumpFilter>::Make(path);
  ASSERT_EQ(DSH::AddFilterToGraph(graph.Get(), dump.Get(), u"VTest"), S_OK);
  auto renderer = ComObject<CTestRenderer>::Make();
  ASSERT_EQ(graph->AddFilter(renderer.Get(), u"Renderer"), S_OK);
  ASSERT_EQ(DSH::ConnectFilters(graph.Get(), source.Get(), dump.Get()), S_OK);
  ASSERT_EQ(DSH::ConnectFilters(graph.Get(), dump.Get(), renderer.Get()), S_OK);
  const std::vector<uint8_t> stream = Packets(7, 9);
  ASSERT_EQ(graph->Run(), S_OK);
  FeedBytes(*source, stream, 500);
  graph->Stop();
  EXPECT_EQ(ReadFileBytes(path), stream);
  EXPECT_EQ(renderer->Lengths(), (std::vector<LONG>{500, 500, 316}));

  // A link planted at the dump's name is not followed.
  const std::string target = dir / "target";
  std::filesystem::remove(path);
  { std::ofstream(target) << "keep"; }
  std::filesystem::create_symlink(target, path);
  ASSERT_EQ(graph->Run(), S_OK);
  FeedBytes(*source, stream, 500);
  graph->Stop();
  EXPECT_EQ(ReadFileBytes(target), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
  EXPECT_EQ(renderer->Lengths().size(), 6u);  // the stream went on all the same
}

TEST_F(FiltersFixture, AudioDecoderReadsAnAc3Stream) {
  // Five AC-3 frames of 48 kHz, 3/2 channels with LFE, as an elementary stream.
  std::vector<uint8_t> ac3;
  for (int i = 0; i < 5; ++i) {
    std::vector<uint8_t> frame(1536, 0);
    const uint8_t header[] = {0x0B, 0x77, 0x12, 0x34, 0x1C, 0x40, 0xEB};
    std::copy(std::begin(header), std::end(header), frame.begin());
    ac3.insert(ac3.end(), frame.begin(), frame.end());
  }
  ComPtr<IBaseFilter> decoder = Add(CLSID_NullAudioDecoder, u"Audio Decoder");
  ComPtr<IBaseFilter> renderer = Add(CLSID_NullAudioRenderer, u"Audio Renderer");
  ComPtr<IPin> input;
  ASSERT_EQ(DSH::FindFreePin(decoder.Get(), PINDIR_INPUT, nullptr, 0, input.Put()), S_OK);
  const AM_MEDIA_TYPE ac3Type{MEDIATYPE_Audio, MEDIASUBTYPE_DOLBY_AC3, GUID_NULL, {}};
  EXPECT_EQ(input->QueryAccept(&ac3Type), S_OK);
  const AM_MEDIA_TYPE video{MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, GUID_NULL, {}};
  EXPECT_EQ(input->QueryAccept(&video), S_FALSE);

  // The AC-3 reaches the decoder through a demultiplexer pin of the AC-3 type.
  ComPtr<IBaseFilter> demux = Add(CLSID_MPEG2Demultiplexer, u"MPEG2 Demux");
  ASSERT_EQ(DSH::ConnectFilters(graph.Get(), source.Get(), demux.Get()), S_OK);
  ComPtr<IPin> audioPin;
  ASSERT_EQ(QueryAs<IMpeg2Demultiplexer>(demux.Get())->CreateOutputPin(&ac3Type, u"Audio", audioPin.Put()), S_OK);
  const ULONG pid = 0x44;
  ASSERT_EQ(QueryAs<IMPEG2PIDMap>(audioPin.Get())->MapPID(1, &pid, MEDIA_ELEMENTARY_STREAM), S_OK);
  ASSERT_EQ(DSH::ConnectPinToFilter(graph.Get(), audioPin.Get(), decoder.Get(), true), S_OK);
  ASSERT_EQ(DSH::ConnectFilters(graph.Get(), decoder.Get(), renderer.Get()), S_OK);

  // One PES packet (private stream 1) carried in packets of PID 0x44.
  std::vector<uint8_t> pes = {0, 0, 1, 0xBD, 0, 0, 0x80, 0x00, 0x00};
  pes.insert(pes.end(), ac3.begin(), ac3.end());
  std::vector<uint8_t> ts;
  for (size_t at = 0, counter = 0; at < pes.size(); at += 184, ++counter) {
    std::vector<uint8_t> packet(188, 0xFF);
    packet[0] = 0x47, packet[1] = static_cast<uint8_t>((at == 0 ? 0x40 : 0) | pid >> 8), packet[2] = pid & 0xFF;
    packet[3] = static_cast<uint8_t>(0x10 | (counter & 0x0F));
    const size_t n = std::min<size_t>(184, pes.size() - at);
    std::copy(pes.begin() + static_cast<std::ptrdiff_t>(at), pes.begin() + static_cast<std::ptrdiff_t>(at + n), packet.begin() + 4);
    ts.insert(ts.end(), packet.begin(), packet.end());
  }
  ASSERT_EQ(graph->Run(), S_OK);
  FeedBytes(*source, ts, 1000);
  graph->Stop();

  AM_MEDIA_TYPE out;
  ComPtr<IPin> output;
  ASSERT_EQ(DSH::GetPin(decoder.Get(), PINDIR_OUTPUT, 0, output.Put()), S_OK);
  ASSERT_EQ(output->ConnectionMediaType(&out), S_OK);
  WAVEFORMATEX wave;
  ASSERT_TRUE(ReadFormat(out, FORMAT_WaveFormatEx, &wave));
  EXPECT_EQ(wave.nSamplesPerSec, 48000u);
  EXPECT_EQ(wave.nChannels, 6);
}

}  // namespace
