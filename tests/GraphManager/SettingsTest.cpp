#include <cstring>

#include "GraphManager/GraphManagerTestSupport.h"
#include "GraphManager/OutputProperty.h"
#include "GraphManager/StreamFormat.h"
#include "GraphManager/WaitForSolidGraphState.h"
#include "interfaces/IKxGraphManager.h"

namespace {
Variant I4(int32_t value) { return Variant(value); }

TEST(OutputPropertyTest, PropertiesLandInTheirSettings) {
  struct Case {
    LONG id;
    int32_t value;
    LONG setting;
    int64_t stored;
  };
  const Case cases[] = {{1, 7, 16, 7},       {2, 6, 2, 6},          {3, 720, 6, 720},  {6, 25, 10, 400000},
                        {6, 0, 10, 0},       {11, 3, 29, 3},        {18, 2, 11, 2},    {26, 4, 15, 4},
                        {21, 9, 27, 9},      {22, 1, 13, 1}};
  for (const Case& c : cases) {
    CGraphSettings settings;
    COutputProperties properties(settings);
    EXPECT_EQ(properties.Put(c.id, I4(c.value)), S_OK) << c.id;
    EXPECT_EQ(settings.Number(c.setting), c.stored) << c.id;
    Variant back;
    EXPECT_EQ(properties.Get(c.id, &back), S_OK);
    EXPECT_EQ(back.vt, VT_I4);
    EXPECT_EQ(back.lVal, c.value) << c.id;
  }
}

TEST(OutputPropertyTest, ZeroRemovesSomeSettingsAndIdsOutsideTheRangeAreRefused) {
  CGraphSettings settings;
  COutputProperties properties(settings);
  for (LONG id : {11, 13, 15, 16, 19, 24, 25, 26}) {
    properties.Put(id, I4(5));
    properties.Put(id, I4(0));
  }
  for (LONG setting : {29, 30, 32, 34, 33, 35, 36, 15}) EXPECT_FALSE(settings.Has(setting)) << setting;
  properties.Put(12, I4(0));
  EXPECT_TRUE(settings.Has(12));
  Variant value;
  for (LONG id : {0, 27}) {
    EXPECT_EQ(properties.Put(id, I4(1)), E_INVALIDARG) << id;
    EXPECT_EQ(properties.Get(id, &value), E_INVALIDARG) << id;
  }
}

TEST(OutputPropertyTest, FrameDurationIsSixtyFourBits) {
  CGraphSettings settings;
  COutputProperties properties(settings);
  Variant value;
  value.vt = VT_I8;
  value.llVal = 0x1'0000'0001LL;
  EXPECT_EQ(properties.Put(23, value), S_OK);
  EXPECT_EQ(settings.Number(10), 0x1'0000'0001LL);
  Variant back;
  EXPECT_EQ(properties.Get(23, &back), S_OK);
  EXPECT_EQ(back.vt, VT_I8);
  EXPECT_EQ(back.llVal, 0x1'0000'0001LL);
}

TEST(WaitForSolidGraphStateTest, AsksUntilTheStateIsSolid) {
  struct Case {
    int intermediateAnswers;
    HRESULT finalAnswer;
    HRESULT expected;
    size_t queries;
  };
  const Case cases[] = {{0, S_OK, S_OK, 1},
                        {5, S_OK, S_OK, 6},
                        {3, E_FAIL, E_FAIL, 4},
                        {5000, S_OK, VFW_S_STATE_INTERMEDIATE, 1001}};
  for (const Case& c : cases) {
    std::vector<uint32_t> waits;
    const HRESULT hr = WaitForSolidGraphState([&](uint32_t waitMs, FILTER_STATE*) {
      waits.push_back(waitMs);
      return static_cast<int>(waits.size()) <= c.intermediateAnswers ? VFW_S_STATE_INTERMEDIATE : c.finalAnswer;
    });
    EXPECT_EQ(hr, c.expected) << c.intermediateAnswers;
    EXPECT_EQ(waits.size(), c.queries) << c.intermediateAnswers;
    EXPECT_EQ(waits.front(), 10u);
  }
}

TEST(WaitForSolidGraphStateTest, TheLastAskDoesNotWait) {
  std::vector<uint32_t> waits;
  WaitForSolidGraphState([&](uint32_t waitMs, FILTER_STATE*) {
    waits.push_back(waitMs);
    return VFW_S_STATE_INTERMEDIATE;
  });
  EXPECT_EQ(waits.back(), 0u);
}

template <class T>
void Put(std::vector<uint8_t>& block, size_t offset, T value) {
  std::memcpy(block.data() + offset, &value, sizeof value);
}

TEST(StreamFormatTest, VideoFormatFromTheFormatBlock) {
  AM_MEDIA_TYPE type{MEDIATYPE_Video, GUID_NULL, FORMAT_VideoInfo2, std::vector<uint8_t>(112)};
  Put<int64_t>(type.format, 40, 333667);
  Put<uint32_t>(type.format, 56, 16);
  Put<uint32_t>(type.format, 60, 9);
  Put<int32_t>(type.format, 76, 1280);
  Put<int32_t>(type.format, 80, -720);
  KxVideoFormat format;
  ASSERT_EQ(ReadVideoFormat(type, &format), S_OK);
  EXPECT_EQ(format.frameDuration, 333667);
  EXPECT_EQ(format.width, 1280);
  EXPECT_EQ(format.height, 720);
  EXPECT_EQ(format.aspectRatioX, 16);
  EXPECT_EQ(format.aspectRatioY, 9);
  type.format.resize(100);
  EXPECT_EQ(ReadVideoFormat(type, &format), E_INVALIDARG);
}

TEST(StreamFormatTest, AudioFormatFromTheWaveFormat) {
  const WAVEFORMATEX wave{0x2000, 6, 48000, 56000, 1, 16, 0};
  AM_MEDIA_TYPE type{MEDIATYPE_Audio, GUID_NULL, FORMAT_WaveFormatEx, std::vector<uint8_t>(sizeof wave)};
  std::memcpy(type.format.data(), &wave, sizeof wave);
  KxAudioFormat format;
  ASSERT_EQ(ReadAudioFormat(type, &format), S_OK);
  EXPECT_EQ(format.channels, 6);
  EXPECT_EQ(format.samplesPerSec, 48000);
  EXPECT_EQ(format.avgBytesPerSec, 56000);
  EXPECT_EQ(format.bitsPerSample, 16);
  type.formattype = FORMAT_VideoInfo2;
  EXPECT_EQ(ReadAudioFormat(type, &format), E_INVALIDARG);
}

TEST(GraphSettingsLogTest, BlockNamesTypeFormatAndPath) {
  TestLog log;
  CGraphSettings settings;
  settings.SetNumber(KxGraphSetting_GraphType, KxGraphType_Capture);
  settings.SetNumber(KxGraphSetting_OutputFormat, 6);
  settings.SetNumber(KxGraphSetting_FrameDuration, 400000);
  settings.SetText(KxGraphSetting_CaptureFilePath, u"/tmp/r\u00e9c.ts");
  LogGraphSettings(settings);
  EXPECT_TRUE(log.Contains(std::string(69, '-')));
  EXPECT_TRUE(log.Contains(" Graph Type:     Capture (TS)"));
  EXPECT_TRUE(log.Contains(" Frame Duration: 400000 (25.00 fps)"));
  EXPECT_TRUE(log.Contains(" File Path: /tmp/r\xc3\xa9" "c.ts"));
}
}  // namespace
