// ATSC searches on a virtual tuner playing a real ATSC multiplex: over cable
// at the centre of channel 2, over the antenna on physical channel 14.
#include "Tuner/TunerTestSupport.h"
#include "support/TestData.h"

namespace {
struct AtscCase {
  const char* what;
  LONG input;
  LONG multiplexKHz;  // where the virtual tuner receives it
  LONG physicalChannel, carrierFrequency, modulation;
  size_t reports;  // cable tries both modulations of the frequency
};
}  // namespace

class AtscScanTest : public TunerTest, public ::testing::WithParamInterface<AtscCase> {};

TEST_P(AtscScanTest, ReportsTheVirtualChannelsOfTheMultiplex) {
  const AtscCase& c = GetParam();
  REQUIRE_SHARED_FILE(file, "test-040.sections.ts");
  const auto tuner = NewTuner("<tuner id=\"t\" system=\"ATSC\"><multiplex frequency=\"" + std::to_string(c.multiplexKHz) +
                              "\" file=\"" + file.string() + "\"/></tuner>");
  ASSERT_TRUE(tuner);
  ASSERT_EQ(QueryAs<IKxTunerSetupAtsc>(tuner.Get())->put_TunerInput(c.input), S_OK);
  auto recorder = ComObject<CTunerRecorder>::Make();
  ASSERT_TRUE(ScanToEnd(tuner.Get(), recorder.Get()));

  const auto channels = recorder->Channels();
  ASSERT_EQ(channels.size(), c.reports);
  std::vector<LONG> minors;
  for (size_t i = 0; i < 4; ++i) {
    IKxChannel* channel = channels[i].Get();
    minors.push_back(Long(channel, &IKxChannel::get_MinorChannel));
    EXPECT_EQ(Long(channel, &IKxChannel::get_MajorChannel), 10);
    EXPECT_EQ(Long(channel, &IKxChannel::get_Type), KxChannelType_AtscTv);
    EXPECT_EQ(Long(channel, &IKxChannel::get_PhysicalChannel), c.physicalChannel);
    EXPECT_EQ(Long(channel, &IKxChannel::get_CarrierFrequency), c.carrierFrequency);
    EXPECT_EQ(Long(channel, &IKxChannel::get_Modulation), c.modulation);
    EXPECT_EQ(Long(channel, &IKxChannel::get_InputSource), c.input);
    EXPECT_EQ(Long(channel, &IKxChannel::get_SourceId), static_cast<LONG>(i + 1));
    EXPECT_EQ(Property(channel, u"InnerFec").lVal, -1);
  }
  EXPECT_EQ(minors, (std::vector<LONG>{1, 2, 3, 4}));
  EXPECT_EQ(Title(channels[0].Get()).rfind("KULX", 0), 0u) << Title(channels[0].Get());
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
}

INSTANTIATE_TEST_SUITE_P(Inputs, AtscScanTest,
                         ::testing::Values(AtscCase{"Cable", 2, 57000, -1, 55250, 3, 8},
                                           AtscCase{"Antenna", 1, 473000, 14, -1, -1, 4}),
                         [](const ::testing::TestParamInfo<AtscCase>& info) { return std::string(info.param.what); });
