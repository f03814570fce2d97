// The channel list file: what a recording's analysis stores comes back the
// same, and every broken file is one line naming it.
#include <gtest/gtest.h>

#include "DSFilters/PsiRenderer/engine/RecordingAnalysis.h"
#include "channels/AnalysisChannels.h"
#include "channels/ChannelFile.h"
#include "channels/ChannelProperties.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace {

std::string XmlOf(IKxChannel* channel) {
  BStr xml;
  const auto serialisation = QueryAs<IKxXmlSerialisation>(channel);
  EXPECT_TRUE(serialisation && SUCCEEDED(serialisation->SaveToXml(xml.Put())));
  return xml.Utf8();
}

ChannelList AnalysedChannels(const std::filesystem::path& file) {
  const RecordingAnalysis recording = AnalyzeRecordingFile(file.string(), false, false);
  EXPECT_EQ(recording.channels.error, "");
  return ChannelsFromAnalysis(recording.channels);
}

TEST(ChannelFile, ARecordingsChannelsAreStoredAndReadBackUnchanged) {
  REQUIRE_SHARED_FILE(stream, "test-108.ts");
  const ChannelList channels = AnalysedChannels(stream);
  ASSERT_EQ(channels.size(), 8u);
  TempDir dir;
  const std::string path = dir / "sub/dir/channels.xml";
  std::string error;
  ASSERT_TRUE(SaveChannelFile(path, channels, error)) << error;

  ChannelList loaded;
  ASSERT_TRUE(LoadChannelFile(path, loaded, error)) << error;
  ASSERT_EQ(loaded.size(), channels.size());
  for (size_t i = 0; i < channels.size(); ++i) EXPECT_EQ(XmlOf(loaded[i].Get()), XmlOf(channels[i].Get()));
}

TEST(ChannelFile, ChannelsOfARecordingCarryItsServiceAndDeliveryData) {
  REQUIRE_SHARED_FILE(stream, "test-108.ts");
  const ChannelList channels = AnalysedChannels(stream);
  ASSERT_FALSE(channels.empty());
  IKxChannel* rai1 = channels.front().Get();
  EXPECT_EQ(TextOf(rai1, &IKxChannel::get_Title), "Rai 1");
  EXPECT_EQ(TextOf(rai1, &IKxChannel::get_ServiceProvider), "Rai");
  EXPECT_EQ(LongOf(rai1, &IKxChannel::get_Type), KxChannelType_DvbtTv);
  EXPECT_EQ(LongOf(rai1, &IKxChannel::get_ServiceId), 3401);
  EXPECT_EQ(LongOf(rai1, &IKxChannel::get_TransportStreamId), 18432);
  EXPECT_EQ(LongOf(rai1, &IKxChannel::get_NetworkId), 318);
  EXPECT_EQ(LongOf(rai1, &IKxChannel::get_CarrierFrequency), 498000);  // kHz, as tuners take it
  EXPECT_EQ(LongOf(rai1, &IKxChannel::get_Bandwidth), 8);
  EXPECT_EQ(LongOf(rai1, &IKxChannel::get_SymbolRate), -1);
  EXPECT_EQ(TextOf(rai1, &IKxChannel::get_Satellite), "");
  EXPECT_EQ(NamedLongOf(rai1, u"PcrPid"), 512);
  // Radio services are radio channels.
  EXPECT_EQ(LongOf(channels[3].Get(), &IKxChannel::get_Type), KxChannelType_DvbtRadio);
}

struct BrokenFile {
  const char* name;
  const char* content;  // nullptr: no file at all
  const char* message;  // the start of the error after the path
};

class ChannelFileErrors : public testing::TestWithParam<BrokenFile> {};

TEST_P(ChannelFileErrors, AreOneLineNamingTheFile) {
  const BrokenFile& c = GetParam();
  TempDir dir;
  const std::string path = c.content ? dir.Write("channels.xml", c.content) : dir / "channels.xml";
  ChannelList channels;
  channels.push_back(NewChannel());
  std::string error;
  EXPECT_FALSE(LoadChannelFile(path, channels, error));
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_NE(error.find(c.message), std::string::npos) << error;
  EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  EXPECT_EQ(channels.size(), 1u) << "a failed load keeps the list it was given";
}

INSTANTIATE_TEST_SUITE_P(
    Files, ChannelFileErrors,
    testing::Values(BrokenFile{"Missing", nullptr, "No such file or directory"},
                    BrokenFile{"NotXml", "channels, one a line\n", "not a channel list"},
                    BrokenFile{"CutOff", "<channels><channel type=\"6\" title=\"A", "not a channel list"},
                    BrokenFile{"OtherRoot", "<tv><channel/></tv>", "the root element is \"tv\""}),
    [](const testing::TestParamInfo<BrokenFile>& info) { return std::string(info.param.name); });

TEST(ChannelFile, ADirectoryIsNoChannelList) {
  TempDir dir;
  ChannelList channels;
  std::string error;
  EXPECT_FALSE(LoadChannelFile(dir.Path(), channels, error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}

TEST(ChannelFile, AnEmptyListIsAFileWithNoChannels) {
  TempDir dir;
  const std::string path = dir / "channels.xml";
  std::string error;
  ASSERT_TRUE(SaveChannelFile(path, {}, error)) << error;
  ChannelList channels{NewChannel()};
  ASSERT_TRUE(LoadChannelFile(path, channels, error)) << error;
  EXPECT_TRUE(channels.empty());
}

TEST(ChannelFile, TheDefaultFileFollowsXdgDataHome) {
  const char* saved = std::getenv("XDG_DATA_HOME");
  const std::string previous = saved ? saved : "";
  setenv("XDG_DATA_HOME", "/srv/data", 1);
  EXPECT_EQ(DefaultChannelFile(), "/srv/data/dtv/channels.xml");
  setenv("XDG_DATA_HOME", "relative", 1);  // the base directory spec ignores a relative path
  EXPECT_EQ(DefaultChannelFile().find("relative"), std::string::npos);
  if (saved) setenv("XDG_DATA_HOME", previous.c_str(), 1);
  else unsetenv("XDG_DATA_HOME");
}

}  // namespace
