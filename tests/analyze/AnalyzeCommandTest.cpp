#include "analyze/AnalyzeCommand.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/TestData.h"

namespace {

struct Output {
  int exitCode;
  std::string out;
  std::string err;
};

Output Analyze(const std::string& path, bool atsc, bool json) {
  std::ostringstream out, err;
  AnalyzeOptions options;
  options.path = path;
  options.atsc = atsc;
  options.json = json;
  const int code = RunAnalyze(options, out, err);
  return {code, out.str(), err.str()};
}

// A scratch file removed when the test ends.
struct TempFile {
  explicit TempFile(const std::string& bytes)
      : path(std::filesystem::temp_directory_path() /
             ("dtv-analyze-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ts")) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  ~TempFile() { std::filesystem::remove(path); }
  std::filesystem::path path;
};

TEST(AnalyzeCommandTest, EveryTestStream) {
  struct Case {
    const char* file;
    bool atsc;
    int exitCode;
    const char* expected;  // in stdout, or in stderr on failure
  };
  const Case cases[] = {
      {"test-002.sections.ts", false, 0, "18 channels"},
      {"test-018.ts", false, 0, "20 channels"},
      {"test-030.ts", false, 0, "channels"},
      {"test-040.sections.ts", true, 0, "4 channels"},
      {"test-092.sections.ts", false, 0, "6 channels"},
      {"test-092.sections.packed.ts", false, 0, "6 channels"},
      {"test-103.ts", false, 0, "channels"},
      {"test-108.ts", false, 0, "8 channels"},
      // PMT and VCT only: an ATSC capture lists the VCT's channels that have a PMT.
      {"test-043.pmtvct.ts", true, 0, "#1 program 3 service - \"KULX   \""},
      {"test-043.vctpmt.ts", true, 0, "  PMT 0x0030 PCR 0x0031 video 0x0031"},
      {"test-043.pmtvct.ts", false, 1, "no complete PAT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    REQUIRE_SHARED_FILE(path, c.file);
    const Output text = Analyze(path.string(), c.atsc, false);
    EXPECT_EQ(text.exitCode, c.exitCode);
    EXPECT_NE((c.exitCode == 0 ? text.out : text.err).find(c.expected), std::string::npos) << text.out << text.err;
    if (c.exitCode == 0) {
      const Output json = Analyze(path.string(), c.atsc, true);
      EXPECT_EQ(json.exitCode, 0);
      EXPECT_TRUE(nlohmann::json::accept(json.out));
    }
  }
}

TEST(AnalyzeCommandTest, Test108TextNamesTheChannels) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  const Output text = Analyze(path.string(), false, false);
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_NE(text.out.find("transport stream 18432, original network 318"), std::string::npos);
  EXPECT_NE(text.out.find("#1 program 3401 service 3401 \"Rai 1\""), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("  PMT 0x0102 PCR 0x0200 video 0x0200 (MPEG-2)"), std::string::npos);
  EXPECT_NE(text.out.find("  audio 0x028a ita type 4\n"), std::string::npos);
  EXPECT_NE(text.out.find("  teletext 0x0240 eng type 2 magazine 7 page 78"), std::string::npos);
}

// The codings of today's broadcasts are named where the stream is listed.
TEST(AnalyzeCommandTest, TextNamesTheCodings) {
  struct Case {
    const char* file;
    const char* expected;
  };
  const Case cases[] = {
      {"test-108.ts", "  PMT 0x012c PCR 0x01f4 video 0x01f4 (HEVC)\n"},
      {"test-108.ts", "  pid 0x01f4 stream type 0x24 video HEVC\n"},
      {"test-108.ts", "  pid 0x028c stream type 0x03 audio MPEG audio\n"},
      {"test-092.sections.ts", "  PMT 0x006e PCR 0x0078 video 0x0078 (H.264)\n"},
      {"test-092.sections.ts", "  audio 0x0082 fre type 6 E-AC-3\n"},
      {"test-092.sections.ts", "  pid 0x0083 stream type 0x06 audio E-AC-3\n"},
      {"test-092.sections.ts", "  audio 0x00e6 fre type 3\n"},
      {"test-040.sections.ts", "  audio 0x0034 eng type 129 AC-3\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    REQUIRE_SHARED_FILE(path, c.file);
    const Output text = Analyze(path.string(), std::string(c.file).starts_with("test-040"), false);
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find(c.expected), std::string::npos) << text.out;
  }
}

TEST(AnalyzeCommandTest, JsonNamesTheCodings) {
  REQUIRE_SHARED_FILE(path, "test-092.sections.ts");
  const Output output = Analyze(path.string(), false, true);
  ASSERT_EQ(output.exitCode, 0) << output.err;
  const nlohmann::json france2 = nlohmann::json::parse(output.out)["channels"][0];
  EXPECT_EQ(france2["name"], "France 2");
  EXPECT_EQ(france2["videoStreamType"], 2);
  EXPECT_EQ(france2["pids"][0], (nlohmann::json{{"pid", 0x78}, {"streamType", 0x1B}, {"kind", "video"}, {"codec", "H.264"}}));
  EXPECT_EQ(france2["audio"][0],
            (nlohmann::json{{"pid", 0x82}, {"language", "fre"}, {"type", 6}, {"ac3", true}, {"codec", "E-AC-3"}}));
  // Subtitles: no coding the tables name.
  EXPECT_EQ(france2["pids"][4], (nlohmann::json{{"pid", 0x8C}, {"streamType", 6}, {"kind", "unknown"}, {"codec", nullptr}}));
}

TEST(AnalyzeCommandTest, Test108JsonStructure) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  const Output output = Analyze(path.string(), false, true);
  ASSERT_EQ(output.exitCode, 0) << output.err;
  const nlohmann::json doc = nlohmann::json::parse(output.out);
  EXPECT_EQ(doc["transportStreamId"], 18432);
  EXPECT_EQ(doc["originalNetworkId"], 318);
  EXPECT_EQ(doc["packetSize"], 188);
  EXPECT_EQ(doc["warnings"], nlohmann::json::array());
  ASSERT_TRUE(doc["frequencies"].is_array());
  const auto& channels = doc["channels"];
  ASSERT_EQ(channels.size(), 8u);
  const char* keys[] = {"programNumber", "serviceId", "name", "provider", "serviceType", "runningStatus", "ca",
                        "pmtPid", "pcrPid", "videoPid", "videoStreamType", "audio", "teletext", "subtitles", "pids",
                        "frequency", "symbolRate", "modulation", "polarisation", "orbitalPosition", "westEast",
                        "bandwidth", "majorChannel", "minorChannel", "sourceId", "channelTsId"};
  for (const auto& channel : channels) {
    ASSERT_EQ(channel.size(), std::size(keys));
    for (const char* key : keys) EXPECT_TRUE(channel.contains(key)) << key;
    EXPECT_EQ(channel["ca"], false);
    // DVB: the ATSC values are absent.
    EXPECT_TRUE(channel["majorChannel"].is_null());
    EXPECT_TRUE(channel["sourceId"].is_null());
    EXPECT_EQ(channel["pids"].back()["kind"], "pmt");
  }
  const auto& rai1 = channels[0];
  EXPECT_EQ(rai1["name"], "Rai 1");
  EXPECT_EQ(rai1["programNumber"], 3401);
  EXPECT_EQ(rai1["pmtPid"], 0x102);
  EXPECT_EQ(rai1["videoPid"], 0x200);
  EXPECT_EQ(rai1["videoStreamType"], 1);
  ASSERT_EQ(rai1["audio"].size(), 3u);
  EXPECT_EQ(rai1["audio"][0], (nlohmann::json{{"pid", 0x28a}, {"language", "ita"}, {"type", 4}, {"ac3", false},
                                              {"codec", "MPEG audio"}}));
  EXPECT_EQ(rai1["teletext"][2]["language"], "eng");
  // Page 78 as on the screen, not the BCD byte 0x78.
  EXPECT_EQ(rai1["teletext"][2]["page"], 78);
  EXPECT_EQ(rai1["pids"][0], (nlohmann::json{{"pid", 0x200}, {"streamType", 2}, {"kind", "video"}, {"codec", "MPEG-2"}}));
  // A radio service: no video PID, an audio stream without language.
  EXPECT_TRUE(channels[3]["videoPid"].is_null());
  EXPECT_TRUE(channels[3]["audio"][0]["language"].is_null());
  EXPECT_EQ(channels[7]["serviceType"], 31);
  EXPECT_EQ(channels[7]["videoPid"], 0x1f4);
  EXPECT_EQ(channels[7]["videoStreamType"], 2);
  EXPECT_EQ(channels[7]["pids"][0]["codec"], "HEVC");
}

TEST(AnalyzeCommandTest, BadInputExitsNonZeroWithAMessage) {
  const Output missing = Analyze("/nonexistent/recording.ts", false, false);
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("cannot open /nonexistent/recording.ts"), std::string::npos) << missing.err;
  EXPECT_TRUE(missing.out.empty());

  const TempFile text(std::string(10000, 'a'));
  const Output notTs = Analyze(text.path.string(), false, true);
  EXPECT_EQ(notTs.exitCode, 1);
  EXPECT_NE(notTs.err.find("not a transport stream"), std::string::npos) << notTs.err;

  const TempFile empty("");
  EXPECT_EQ(Analyze(empty.path.string(), false, false).exitCode, 1);

  EXPECT_EQ(Analyze(std::filesystem::temp_directory_path().string(), false, false).exitCode, 1);
}

}  // namespace
