// The channel commands of dtv itself: the stored list made from a recording,
// shown, exported and imported, and each broken input as one line with its
// exit status.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <set>

#include "DtvRun.h"
#include "support/TempDir.h"

namespace {

const std::string kDemoMux = std::string(DTV_DEMO_DIR) + "/demo-mux1.ts";

std::set<std::string> KeysOf(const nlohmann::json& object) {
  std::set<std::string> keys;
  for (const auto& [key, value] : object.items()) keys.insert(key);
  return keys;
}

TEST(DtvChannels, TheStoredListOfARecordingHasTheAnalysisJsonFields) {
  TempDir dir;
  const std::string list = dir / "channels.xml";
  const DtvRun analyze = RunDtv("analyze '" + kDemoMux + "' --json --save-channels '" + list + "' 2>/dev/null");
  ASSERT_EQ(analyze.exitCode, 0) << analyze.output;
  const DtvRun channels = RunDtv("channels '" + list + "' --json");
  ASSERT_EQ(channels.exitCode, 0) << channels.output;

  const auto analysed = nlohmann::json::parse(analyze.output)["channels"];
  const auto stored = nlohmann::json::parse(channels.output)["channels"];
  ASSERT_EQ(stored.size(), analysed.size());
  ASSERT_FALSE(stored.empty());
  for (size_t i = 0; i < stored.size(); ++i) {
    EXPECT_EQ(KeysOf(stored[i]), KeysOf(analysed[i]));
    for (const char* field : {"name", "provider", "serviceId", "programNumber", "pmtPid", "pcrPid", "videoPid",
                              "serviceType", "frequency", "bandwidth"})
      EXPECT_EQ(stored[i][field], analysed[i][field]) << field << " of channel " << i + 1;
  }
}

TEST(DtvChannels, TheTableNumbersEachChannelWithItsSystemAndFrequency) {
  TempDir dir;
  const std::string list = dir / "channels.xml";
  ASSERT_EQ(RunDtv("analyze '" + kDemoMux + "' --save-channels '" + list + "' >/dev/null").exitCode, 0);
  const DtvRun table = RunDtv("--channels '" + list + "' channels");
  ASSERT_EQ(table.exitCode, 0) << table.output;
  EXPECT_NE(table.output.find("#  name"), std::string::npos) << table.output;
  EXPECT_NE(table.output.find("\n1  "), std::string::npos) << table.output;
  EXPECT_NE(table.output.find("DVB-T"), std::string::npos) << table.output;
}

TEST(DtvChannels, DevicesAsJsonListTheDemoTuners) {
  const DtvRun devices = RunDtv("devices --json");
  ASSERT_EQ(devices.exitCode, 0) << devices.output;
  const auto list = nlohmann::json::parse(devices.output)["devices"];
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list[0]["number"], 0);
  EXPECT_TRUE(list[0]["moniker"].is_string() && !list[0]["moniker"].get<std::string>().empty());
}

struct ErrorRow {
  const char* arguments;  // "DIR" stands for the test's directory, "MUX" for the demo multiplex
  int exitCode;
  const char* message;    // the start of the output, with the same words
};

std::string Substituted(std::string text, const TempDir& dir) {
  for (const auto& [word, value] : {std::pair<std::string, std::string>{"DIR", dir.Path()}, {"MUX", kDemoMux}})
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + value.size()))
      text.replace(at, word.size(), value);
  return text;
}

class DtvChannelErrors : public testing::TestWithParam<ErrorRow> {};

TEST_P(DtvChannelErrors, AreOneLineAndAnExitStatus) {
  TempDir dir;
  dir.Write("bad.xml", "<channels><channel title=\"cut");
  dir.Write("other.xml", "<tv/>");
  dir.Write("bad.conf", "SERVICE_ID = 1\n");
  dir.Write("nosystem.conf", "[A]\n\tSERVICE_ID = 1\n");
  const DtvRun run = RunDtv(Substituted(GetParam().arguments, dir));
  EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.output;
  EXPECT_EQ(run.output.rfind(Substituted(GetParam().message, dir), 0), 0u) << run.output;
  if (GetParam().exitCode == 1) {
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DtvChannelErrors,
    testing::Values(
        ErrorRow{"channels DIR/none.xml", 1,
                 "dtv: cannot read the channel list DIR/none.xml: No such file or directory\n"},
        ErrorRow{"channels DIR", 1, "dtv: cannot read the channel list DIR: not a regular file\n"},
        ErrorRow{"channels DIR/bad.xml", 1, "dtv: DIR/bad.xml: not a channel list: "},
        ErrorRow{"channels DIR/other.xml", 1,
                 "dtv: DIR/other.xml: not a channel list: the root element is \"tv\", not \"channels\"\n"},
        ErrorRow{"--channels DIR/none.xml export --format m3u", 1, "dtv: cannot read the channel list DIR/none.xml: "},
        ErrorRow{"export --format bogus", 2, "dtv: --format: bogus not in {dvbv5,vdr,m3u,xmltv-channels}\n"},
        ErrorRow{"export", 2, "dtv: --format is required\n"},
        ErrorRow{"import DIR/none.conf", 1, "dtv: cannot read DIR/none.conf: No such file or directory\n"},
        ErrorRow{"import DIR/bad.conf", 1,
                 "dtv: DIR/bad.conf: not a libdvbv5 channel or initial-tuning file: line 1: a value before the first "
                 "\"[name]\"\n"},
        ErrorRow{"import DIR/nosystem.conf -o DIR/list.xml", 1,
                 "dtv: DIR/nosystem.conf: channel 1 [A]: no DELIVERY_SYSTEM\n"},
        ErrorRow{"analyze MUX --save-channels MUX", 1, "dtv analyze: cannot write MUX: it is the input\n"},
        ErrorRow{"analyze MUX --save-channels DIR/bad.xml/channels.xml", 1,
                 "dtv analyze: cannot write DIR/bad.xml/channels.xml: Not a directory\n"}));

TEST(DtvChannelOutput, AFullDiskIsAnError) {
  TempDir dir;
  const std::string list = dir / "l.xml";
  ASSERT_EQ(RunDtv("analyze '" + kDemoMux + "' --save-channels '" + list + "' >/dev/null").exitCode, 0);
  const DtvRun full = RunDtv("--channels '" + list + "' export --format m3u -o /dev/full");
  EXPECT_EQ(full.exitCode, 1) << full.output;
  EXPECT_EQ(full.output, "dtv: cannot write /dev/full: No space left on device\n");
}

}  // namespace
