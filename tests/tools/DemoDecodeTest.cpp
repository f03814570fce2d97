// A player's view of the demo network: ffprobe finds every audio and video
// stream with the coding its PMT declares, and ffmpeg decodes each multiplex
// and the seam of its loop without an error or a gap in the tones. ffmpeg is no build or CI
// dependency, so without it these tests skip, in CI too.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

#include "DemoStreams.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace {

struct ToolRun {
  int exitCode;
  std::string output;
  std::string errors;
};

// Runs a shell command line, its output and errors collected in files of `dir`.
ToolRun RunTool(const TempDir& dir, const std::string& commandLine) {
  const std::string output = dir / "output.txt", errors = dir / "errors.txt";
  const int status = std::system((commandLine + " >'" + output + "' 2>'" + errors + "'").c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(output), ReadFileBytes(errors)};
}

#define REQUIRE_FFMPEG()                                                                     \
  if (std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") != 0) {   \
    GTEST_SKIP() << "ffmpeg/ffprobe not installed (optional, not in CI): no player's check"; \
  }

// The multiplex twice over, as a looping tuner sends it; "" when it cannot be written.
std::string TwiceOver(const TempDir& dir, int mux) {
  const std::string file = demotest::DemoPath(mux), twice = dir / "twice.ts";
  return std::system(("cat '" + file + "' '" + file + "' >'" + twice + "'").c_str()) == 0 ? twice : "";
}

const char* FfmpegName(StreamCodec codec) {
  switch (codec) {
    case StreamCodec::Mpeg2Video:
      return "mpeg2video";
    case StreamCodec::H264:
      return "h264";
    case StreamCodec::MpegAudio:
      return "mp2";
    case StreamCodec::Ac3:
      return "ac3";
    default:
      return "?";
  }
}

// PID -> codec name of the audio and video streams in ffprobe's JSON.
std::map<uint16_t, std::string> ProbedCodecs(const std::string& probe) {
  std::map<uint16_t, std::string> codecs;
  const nlohmann::json document = nlohmann::json::parse(probe);
  for (const nlohmann::json& stream : document.at("streams")) {
    const std::string type = stream.value("codec_type", "");
    if (type == "audio" || type == "video")
      codecs[static_cast<uint16_t>(std::stoul(stream.at("id").get<std::string>(), nullptr, 16))] =
          stream.value("codec_name", "");
  }
  return codecs;
}

TEST(DemoDecode, FfprobeFindsEveryStreamWithItsCoding) {
  REQUIRE_FFMPEG();
  TempDir dir;
  for (int mux = 1; mux <= 3; ++mux) {
    SCOPED_TRACE("mux " + std::to_string(mux));
    std::map<uint16_t, std::string> expected;
    for (const auto& [pid, codec] : demotest::AudioAndVideoStreams(demotest::ReadDemo(mux)))
      expected[pid] = FfmpegName(codec);
    const ToolRun probe = RunTool(dir, "ffprobe -v error -show_streams -of json '" + demotest::DemoPath(mux) + "'");
    ASSERT_EQ(probe.exitCode, 0) << probe.errors;
    EXPECT_EQ(ProbedCodecs(probe.output), expected);
  }
}

TEST(DemoDecode, FfmpegDecodesEachMultiplexAndItsLoopPointWithoutErrors) {
  REQUIRE_FFMPEG();
  TempDir dir;
  for (int mux = 1; mux <= 3; ++mux) {
    const std::string twice = TwiceOver(dir, mux);
    ASSERT_FALSE(twice.empty());
    for (const std::string& input : {demotest::DemoPath(mux), twice}) {
      // Teletext and subtitle streams carry no data and have no null encoder: audio and video only.
      const ToolRun decode = RunTool(dir, "ffmpeg -nostdin -v error -i '" + input + "' -map 0:v -map 0:a -f null -");
      EXPECT_EQ(decode.exitCode, 0) << input;
      EXPECT_EQ(decode.errors, "") << input;
    }
  }
}

// The quietest stretch of 2 ms (a period of the lowest tone) after the
// decoder's first 20 ms, against the loudest: a gap shows as silence.
std::pair<int, int> QuietestAndLoudest(const std::string& pcm) {
  std::vector<int16_t> samples(pcm.size() / 2);
  std::memcpy(samples.data(), pcm.data(), samples.size() * 2);
  constexpr size_t kWindow = 96, kWarmUp = 960;  // at 48 kHz
  int quietest = INT16_MAX, loudest = 0;
  for (size_t at = kWarmUp; at + kWindow <= samples.size(); at += kWindow) {
    int peak = 0;
    for (size_t i = at; i < at + kWindow; ++i) peak = std::max(peak, std::abs(int(samples[i])));
    quietest = std::min(quietest, peak);
    loudest = std::max(loudest, peak);
  }
  return {quietest, loudest};
}

TEST(DemoDecode, EveryToneRunsOnAcrossTheLoopPoint) {
  REQUIRE_FFMPEG();
  TempDir dir;
  for (int mux = 1; mux <= 3; ++mux) {
    const std::string twice = TwiceOver(dir, mux), pcm = dir / "tone.pcm";
    ASSERT_FALSE(twice.empty());
    const auto streams = demotest::AudioAndVideoStreams(demotest::ReadDemo(mux));
    const auto audio = std::count_if(streams.begin(), streams.end(), [](const auto& s) {
      return s.second == StreamCodec::MpegAudio || s.second == StreamCodec::Ac3;
    });
    ASSERT_GT(audio, 0);
    for (int track = 0; track < audio; ++track) {
      SCOPED_TRACE("mux " + std::to_string(mux) + " audio track " + std::to_string(track));
      const ToolRun decode =
          RunTool(dir, "ffmpeg -nostdin -v error -i '" + twice + "' -map 0:a:" + std::to_string(track) +
                           " -f s16le -ac 1 -ar 48000 -y '" + pcm + "'");
      ASSERT_EQ(decode.exitCode, 0) << decode.errors;
      const std::string samples = ReadFileBytes(pcm);
      ASSERT_GE(samples.size(), 2u * 48000 * 7) << "two loops of 3.84 s";
      const auto [quietest, loudest] = QuietestAndLoudest(samples);
      EXPECT_GT(quietest, loudest / 2) << "a gap in the tone";
    }
  }
}

}  // namespace
