#include <gtest/gtest.h>

#include "Channel/StreamInfoFilling.h"
#include "platform/graph/FilterGraph.h"
#include "platform/graph/Formats.h"
#include "platform/graph/Mpeg2Demultiplexer.h"
#include "platform/graph/NullAudioDecoder.h"
#include "platform/graph/NullRenderer.h"
#include "platform/graph/NullVideoDecoder.h"
#include "platform/graph/StreamFeed.h"
#include "support/TestData.h"

namespace {

// source -> demultiplexer ("Stream" pin mapped to one PID) -> decoder -> renderer
struct DecodingGraph {
  ComPtr<ComObject<CFilterGraph>> graph = ComObject<CFilterGraph>::Make();
  ComPtr<ComObject<CTestSource>> source = ComObject<CTestSource>::Make();
  ComPtr<ComObject<CMpeg2Demultiplexer>> demux = ComObject<CMpeg2Demultiplexer>::Make();
  ComPtr<IBaseFilter> decoder;
  ComPtr<ComObject<CNullRenderer>> renderer;

  DecodingGraph(bool video, const GUID& subtype, ULONG pid) {
    if (video)
      decoder = ComObject<CNullVideoDecoder>::Make();
    else
      decoder = ComObject<CNullAudioDecoder>::Make();
    renderer = ComObject<CNullRenderer>::Make(video ? CLSID_NullVideoRenderer : CLSID_NullAudioRenderer,
                                             video ? MEDIATYPE_Video : MEDIATYPE_Audio);
    EXPECT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    EXPECT_EQ(graph->AddFilter(demux.Get(), u"MPEG2 Demux"), S_OK);
    EXPECT_EQ(graph->AddFilter(decoder.Get(), u"Decoder"), S_OK);
    EXPECT_EQ(graph->AddFilter(renderer.Get(), u"Renderer"), S_OK);
    EXPECT_EQ(graph->ConnectDirect(PinOf(source.Get(), u"Output").Get(), PinOf(demux.Get(), u"MPEG-2 Stream").Get(), nullptr), S_OK);
    const AM_MEDIA_TYPE type{video ? MEDIATYPE_Video : MEDIATYPE_Audio, subtype, GUID_NULL, {}};
    ComPtr<IPin> out;
    EXPECT_EQ(demux->CreateOutputPin(&type, u"Stream", out.Put()), S_OK);
    EXPECT_EQ(QueryAs<IMPEG2PIDMap>(out.Get())->MapPID(1, &pid, MEDIA_ELEMENTARY_STREAM), S_OK);
    EXPECT_EQ(graph->ConnectDirect(out.Get(), PinOf(decoder.Get(), u"In").Get(), nullptr), S_OK);
    EXPECT_EQ(graph->ConnectDirect(PinOf(decoder.Get(), u"Out").Get(), PinOf(renderer.Get(), u"In").Get(), nullptr), S_OK);
  }
  ComPtr<IPin> DecoderOutput() { return PinOf(decoder.Get(), u"Out"); }
};

struct VideoCase {
  const char* file;
  ULONG pid;
  GUID subtype;
  LONG width, height, aspectX, aspectY;
  int64_t frameDuration;
};

class VideoInfoFromRealStreams : public ::testing::TestWithParam<VideoCase> {};

TEST_P(VideoInfoFromRealStreams, ReportsThePictureFormat) {
  const VideoCase& c = GetParam();
  REQUIRE_SHARED_FILE(path, c.file);
  DecodingGraph g(true, c.subtype, c.pid);
  auto before = ComObject<CKxVideoInfo>::Make();
  // Nothing read yet: the object stays at zero.
  EXPECT_EQ(FillVideoInfo(g.DecoderOutput().Get(), before.Get()), S_OK);
  LONG zero = -1;
  before->get_Width(&zero);
  EXPECT_EQ(zero, 0);

  ASSERT_EQ(g.graph->Run(), S_OK);
  FeedBytes(*g.source, ReadFileBytes(path), 1316 + 100);
  g.graph->Stop();
  EXPECT_GT(g.renderer->SamplesRendered(), 0u);

  auto info = ComObject<CKxVideoInfo>::Make();
  ASSERT_EQ(FillVideoInfo(g.DecoderOutput().Get(), info.Get()), S_OK);
  LONG width = 0, height = 0, x = 0, y = 0;
  int64_t duration = 0;
  info->get_Width(&width);
  info->get_Height(&height);
  info->get_AspectRatioX(&x);
  info->get_AspectRatioY(&y);
  info->get_FrameDuration(&duration);
  EXPECT_EQ(width, c.width);
  EXPECT_EQ(height, c.height);
  EXPECT_EQ(x, c.aspectX);
  EXPECT_EQ(y, c.aspectY);
  EXPECT_EQ(duration, c.frameDuration);
}

INSTANTIATE_TEST_SUITE_P(
    Test108, VideoInfoFromRealStreams,
    ::testing::Values(VideoCase{"test-108.ts", 0x200, MEDIASUBTYPE_MPEG2_VIDEO, 720, 576, 16, 9, 400000},
                      VideoCase{"test-108.ts", 0x1F4, MEDIASUBTYPE_HEVC, 1280, 720, 16, 9, 200000}));

TEST(AudioInfoFromRealStreams, MpegAudioReportsRateAndChannels) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  DecodingGraph g(false, MEDIASUBTYPE_MPEG1AudioPayload, 0x28C);  // MPEG-1 layer II of service 3403
  ASSERT_EQ(g.graph->Run(), S_OK);
  FeedBytes(*g.source, ReadFileBytes(path), 4000);
  g.graph->Stop();
  auto info = ComObject<CKxAudioInfo>::Make();
  ASSERT_EQ(FillAudioInfo(g.DecoderOutput().Get(), info.Get()), S_OK);
  LONG rate = 0, channels = 0, bits = 0, bytesPerSec = 0;
  info->get_SamplesPerSec(&rate);
  info->get_Channels(&channels);
  info->get_BitsPerSample(&bits);
  info->get_AvgBytesPerSec(&bytesPerSec);
  EXPECT_EQ(rate, 48000);
  EXPECT_EQ(channels, 2);
  EXPECT_EQ(bits, 16);
  EXPECT_EQ(bytesPerSec, 48000 * 2 * 2);
}

// A decoder output that is not a wave format leaves the audio information at zero.
TEST(AudioInfoFromRealStreams, NonWaveFormatGivesZeros) {
  DecodingGraph g(true, MEDIASUBTYPE_MPEG2_VIDEO, 0x200);
  auto info = ComObject<CKxAudioInfo>::Make();
  ASSERT_EQ(FillAudioInfo(g.DecoderOutput().Get(), info.Get()), S_OK);
  LONG rate = -1;
  info->get_SamplesPerSec(&rate);
  EXPECT_EQ(rate, 0);
}

}  // namespace
