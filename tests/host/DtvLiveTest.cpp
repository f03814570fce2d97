// dtv's live commands against virtual tuners playing the demo network,
// through the real plug-in: scan, record, the programme guide, and the
// messages people get when something is wrong.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <regex>
#include <nlohmann/json.hpp>

#include "DtvRun.h"
#include "support/FileBytes.h"
#include "support/LoopedFile.h"
#include "support/TempDir.h"

namespace {
constexpr const char* kXmltvDtd = "/usr/share/xmltv/xmltv.dtd";

std::string DemoFile(int mux) { return std::string(DTV_DEMO_DIR) + "/demo-mux" + std::to_string(mux) + ".ts"; }

// One DVB-T tuner on the given demo multiplexes, played four times as fast
// as broadcast so that seconds of programme pass in a quarter of the time.
std::string Description(const std::vector<std::pair<int, int>>& multiplexes) {
  std::string xml = R"(<virtualTuners><tuner id="t" system="DVB-T" friendlyName="Test Tuner">)";
  for (const auto& [frequency, mux] : multiplexes)
    xml += "<multiplex frequency=\"" + std::to_string(frequency) + "\" file=\"" + DemoFile(mux) +
           "\" bitrate=\"48000000\"/>";
  return xml + "</tuner></virtualTuners>";
}

// A dtv running on its own, its standard error read through a pipe.
class RunningDtv {
 public:
  explicit RunningDtv(const std::string& arguments) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    const std::string command = "exec '" + std::string(DTV_COMMAND) + "' " + arguments;
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    if (posix_spawn(&m_pid, "/bin/sh", &actions, nullptr, const_cast<char**>(argv), environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    m_output = pipeFds[0];
  }
  ~RunningDtv() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGKILL);
      Wait();
    }
    if (m_output >= 0) ::close(m_output);
  }

  // Reads its standard error until `text` came; false when it ended first.
  bool WaitFor(const std::string& text) {
    char buffer[4096];
    while (m_text.find(text) == std::string::npos) {
      const ssize_t n = ::read(m_output, buffer, sizeof buffer);
      if (n <= 0) return false;
      m_text.append(buffer, static_cast<size_t>(n));
    }
    return true;
  }
  // The exit status after `signal` (128 + a signal that killed it), with all it wrote.
  int Stop(int signal) {
    ::kill(m_pid, signal);
    WaitFor(std::string(1, '\0'));
    return Wait();
  }
  const std::string& Text() const { return m_text; }

 private:
  int Wait() {
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) continue;
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  pid_t m_pid = -1;
  int m_output = -1;
  std::string m_text;
};

class DtvLiveTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteDescription({{474000, 1}, {522000, 2}, {570000, 3}}); }

  void WriteDescription(const std::vector<std::pair<int, int>>& multiplexes) {
    std::ofstream(m_tuners) << Description(multiplexes);
  }
  DtvRun Dtv(const std::string& arguments) {
    return RunDtv("--channels '" + m_channels + "' " + arguments + " --no-demo --virtual-tuners '" + m_tuners + "'");
  }
  // Standard output only.
  DtvRun DtvOutput(const std::string& arguments) {
    return RunShell("('" + std::string(DTV_COMMAND) + "' --channels '" + m_channels + "' " + arguments +
                    " --no-demo --virtual-tuners '" + m_tuners + "' 2>/dev/null)");
  }
  void Scan() {
    const DtvRun scan = Dtv("scan 0 --country 49");
    ASSERT_EQ(scan.exitCode, 0) << scan.output;
  }

  TempDir m_dir;
  std::string m_tuners = m_dir / "tuners.xml";
  std::string m_channels = m_dir / "channels.xml";
};
}  // namespace

TEST_F(DtvLiveTest, ScanFindsEveryServiceWithItsFrequencyAndSignalAndStoresThem) {
  const std::string progress = m_dir / "progress.txt";
  const DtvRun scan = RunShell("('" + std::string(DTV_COMMAND) + "' --channels '" + m_channels +
                               "' scan 0 --country 49 --json --no-demo --virtual-tuners '" + m_tuners + "' 2>'" +
                               progress + "')");
  ASSERT_EQ(scan.exitCode, 0) << scan.output;
  const auto json = nlohmann::json::parse(scan.output);
  ASSERT_EQ(json["channels"].size(), 12u) << ReadFileBytes(progress);
  for (const auto& channel : json["channels"]) {
    EXPECT_EQ(channel["signal"]["strength"], 100) << channel;
    EXPECT_TRUE(channel["tunedFrequency"] == 474000 || channel["tunedFrequency"] == 522000 ||
                channel["tunedFrequency"] == 570000)
        << channel;
  }
  const DtvRun list = RunDtv("channels '" + m_channels + "'");
  EXPECT_EQ(list.exitCode, 0) << list.output;
  EXPECT_NE(list.output.find("Demo One"), std::string::npos);
  EXPECT_NE(list.output.find("Shopping 24"), std::string::npos);
}

// The JSON channels of a scan with `arguments` and the tuned frequency of each.
std::multiset<long> ScannedFrequencies(const DtvRun& scan) {
  std::multiset<long> frequencies;
  const auto json = nlohmann::json::parse(scan.output);
  for (const auto& channel : json["channels"]) frequencies.insert(channel["tunedFrequency"].get<long>());
  return frequencies;
}

TEST_F(DtvLiveTest, ATuningDataFileIsWhatTheScanTunes) {
  const std::string data = m_dir / "area.xml";
  std::ofstream(data) << R"(<NetworkType name="DVB-T"><Network name="Area"><param frequency="522000" bandwidth="8"/></Network></NetworkType>)";
  const DtvRun scan = DtvOutput("scan 0 --json --tuning-data '" + data + "'");
  ASSERT_EQ(scan.exitCode, 0) << scan.output;
  EXPECT_EQ(ScannedFrequencies(scan), std::multiset<long>({522000, 522000, 522000, 522000})) << scan.output;
}

TEST_F(DtvLiveTest, ADishScanTunesEachLnbsSatellite) {
  std::ofstream(m_tuners) << R"(<virtualTuners><tuner id="s" system="DVB-S2" friendlyName="Dish">)"
                          << R"(<multiplex frequency="11494000" lnb="0" polarisation="H" symbolRate="22000" file=")"
                          << DemoFile(1) << R"(" bitrate="48000000"/></tuner></virtualTuners>)";
  const std::string data = m_dir / "astra.xml";
  std::ofstream(data) << R"(<NetworkType name="DVB-S"><Satellite name="Astra" position="192E">)"
                      << R"(<param frequency="11494000" polarisation="H" symbolrate="22000" fec="2/3"/>)"
                      << R"(<param frequency="11538000" polarisation="V" symbolrate="22000"/></Satellite></NetworkType>)";
  const DtvRun scan = DtvOutput("scan 0 --json --tuning-data '" + data + "' --lnb 1:192E:9750:10600:11700");
  ASSERT_EQ(scan.exitCode, 0) << scan.output;
  EXPECT_EQ(ScannedFrequencies(scan), std::multiset<long>({11494000, 11494000, 11494000, 11494000})) << scan.output;
  // Without an LNB the dish has nothing to point at.
  const DtvRun noLnb = Dtv("scan 0 --tuning-data '" + data + "'");
  EXPECT_EQ(noLnb.exitCode, 1) << noLnb.output;
}

TEST_F(DtvLiveTest, ARecordingIsTheTunedMultiplexInWholePackets) {
  Scan();
  const std::string recording = m_dir / "rec.ts";
  const DtvRun record = Dtv("record 'Demo News' --duration 1 -o '" + recording + "'");
  ASSERT_EQ(record.exitCode, 0) << record.output;
  EXPECT_NE(record.output.find("locked  signal 100% quality 100%"), std::string::npos) << record.output;
  const std::string bytes = ReadFileBytes(recording);
  ASSERT_GT(bytes.size(), 188u * 100);
  EXPECT_EQ(bytes.size() % 188, 0u);
  // A run of the looping file of 522 MHz from the tune on, and of no other multiplex.
  const std::string mux2 = ReadFileBytes(DemoFile(2));
  const std::string head = bytes.substr(0, std::min<size_t>(bytes.size(), mux2.size() / 2));
  EXPECT_TRUE(IsFileInALoop(head, mux2));
  EXPECT_FALSE(IsFileInALoop(head, ReadFileBytes(DemoFile(1))));
}

TEST_F(DtvLiveTest, CtrlCEndsARecordingWithWholePacketsAndTheDeviceIsInUseUntilThen) {
  Scan();
  const std::string recording = m_dir / "live.ts";
  RunningDtv running("--channels '" + m_channels + "' record 'Demo News' -o '" + recording + "' --no-demo --virtual-tuners '" +
                     m_tuners + "'");
  ASSERT_TRUE(running.WaitFor("locked  signal")) << running.Text();
  // One tuner, held by the recording.
  const DtvRun second = Dtv("record 'Demo One' --duration 1 -o '" + std::string(m_dir / "second.ts") + "'");
  EXPECT_EQ(second.exitCode, 1) << second.output;
  EXPECT_EQ(second.output, "dtv: device 'Test Tuner' is in use by another process\n");
  EXPECT_FALSE(std::filesystem::exists(m_dir / "second.ts"));

  EXPECT_EQ(running.Stop(SIGINT), 0) << running.Text();
  EXPECT_NE(running.Text().find(", stopped"), std::string::npos) << running.Text();
  const std::string bytes = ReadFileBytes(recording);
  EXPECT_GT(bytes.size(), 0u);
  EXPECT_EQ(bytes.size() % 188, 0u);
  for (size_t at = 0; at < bytes.size(); at += 188) ASSERT_EQ(bytes[at], 0x47) << "packet at " << at;
}

TEST_F(DtvLiveTest, TheLiveGuideIsValidXmltvWithTheStoredChannels) {
  if (RunShell("command -v xmllint").exitCode != 0 || !std::filesystem::exists(kXmltvDtd)) {
    if (std::getenv("CI") && std::string(std::getenv("CI")) == "true") FAIL() << "xmllint or the XMLTV DTD missing";
    GTEST_SKIP() << "xmllint or " << kXmltvDtd << " not installed (libxml2-utils, xmltv-util)";
  }
  Scan();
  const std::string xmltv = m_dir / "guide.xml";
  const DtvRun epg = Dtv("epg 1 --duration 2 --xmltv '" + xmltv + "'");
  ASSERT_EQ(epg.exitCode, 0) << epg.output;
  const DtvRun lint = RunShell(std::string("xmllint --noout --dtdvalid ") + kXmltvDtd + " '" + xmltv + "'");
  EXPECT_EQ(lint.exitCode, 0) << lint.output;
  const std::string text = ReadFileBytes(xmltv);
  EXPECT_NE(text.find("<display-name>Demo One</display-name>"), std::string::npos);
  EXPECT_NE(text.find("channel=\"8945.1.257.dvb\""), std::string::npos);
}

TEST_F(DtvLiveTest, TheBackgroundGuideArrivesWhileTheChannelIsReceived) {
  Scan();
  const DtvRun epg = DtvOutput("epg 'Demo News' --background --duration 3 --json");
  ASSERT_EQ(epg.exitCode, 0) << epg.output;
  const auto events = nlohmann::json::parse(epg.output)["events"];
  const DtvRun list = RunDtv("channels '" + m_channels + "' --json");
  long serviceId = -1;
  const auto stored = nlohmann::json::parse(list.output);
  for (const auto& channel : stored["channels"])
    if (channel["name"] == "Demo News") serviceId = channel["serviceId"];
  // The tuned channel's own programmes, with their titles.
  EXPECT_TRUE(std::any_of(events.begin(), events.end(), [&](const nlohmann::json& event) {
    return event["serviceId"] == serviceId && !event["name"].get<std::string>().empty();
  })) << epg.output;
}

TEST_F(DtvLiveTest, TheProgressLineIsRedrawnOnATerminal) {
  if (RunShell("command -v script").exitCode != 0) GTEST_SKIP() << "script (bsdutils) not installed";
  const std::string command = "'" + std::string(DTV_COMMAND) + "' --channels '" + m_channels +
                              "' scan 0 --country 49 --no-demo --virtual-tuners '" + m_tuners + "'";
  // script runs the scan with a pseudo-terminal as its standard error.
  const DtvRun scan = RunShell("script -qec \"" + command + "\" /dev/null");
  ASSERT_EQ(scan.exitCode, 0) << scan.output;
  EXPECT_NE(scan.output.find("\r\033[K[100%] 954000 kHz"), std::string::npos) << scan.output;
  EXPECT_NE(scan.output.find("12 channels  0:0"), std::string::npos) << scan.output;
  EXPECT_NE(scan.output.find(" left"), std::string::npos) << scan.output;
  EXPECT_NE(scan.output.find("12 channels saved to"), std::string::npos) << scan.output;
  // Each step's line names its own frequency with its own signal and the channels found up to it.
  const std::regex step(R"(\[ *(\d+)%\] (\d+) kHz  (signal 100% quality 100%|no signal)  (\d+) channels?)");
  std::map<long, std::pair<std::string, int>> steps;
  for (auto it = std::sregex_iterator(scan.output.begin(), scan.output.end(), step); it != std::sregex_iterator(); ++it)
    steps[std::stol((*it)[2])] = {(*it)[3], std::stoi((*it)[4])};
  ASSERT_TRUE(steps.count(474000) && steps.count(522000) && steps.count(570000)) << scan.output;
  int before = 0;
  for (const auto& [frequency, shown] : steps) {
    const bool demo = frequency == 474000 || frequency == 522000 || frequency == 570000;
    EXPECT_EQ(shown.first, demo ? "signal 100% quality 100%" : "no signal") << frequency;
    if (demo) EXPECT_EQ(shown.second, before + 4) << frequency;
    else EXPECT_EQ(shown.second, before) << frequency;
    before = shown.second;
  }
}

TEST_F(DtvLiveTest, MistakesGetOneLineAndAFailingStatus) {
  Scan();
  const std::string missing = m_dir / "none.xml", broken = m_dir / "broken.xml";
  std::ofstream(broken) << "<channels><channel";
  struct Case {
    std::string arguments;
    std::string message;
  };
  const Case cases[] = {
      {"scan 7", "dtv: no device 7: the devices are 0 to 0"},
      {"scan 'No Such Tuner'", "dtv: no device 'No Such Tuner'"},
      {"record 'No Such Channel' -o '" + std::string(m_dir / "x.ts") + "'", "dtv: no channel 'No Such Channel'"},
      {"record 1 -o '" + m_dir.Path() + "'", "dtv: cannot write " + m_dir.Path() + ": Is a directory"},
      {"epg 'Nothing' --duration 1", "dtv: no channel or device 'Nothing'"},
      {"epg 0 --background --duration 1", "dtv: --background collects while receiving one channel; '0' is a device"},
      {"record 1 --duration 1 -o '" + m_channels + "'", "dtv: cannot write " + m_channels + ": it is the channel list"},
      {"scan 0 --lnb 5:192E:9750:10600:11700", "dtv: --lnb 5:192E:9750:10600:11700: the position is 1 to 4"},
      {"scan 0 --lnb 1:192E:9750", "dtv: --lnb 1:192E:9750: give POS:SAT:LOW:HIGH:SWITCH"},
      {"scan 0 --lnb 1:Astra:9750:10600:11700", "dtv: --lnb 1:Astra:9750:10600:11700: the satellite is an orbital position"},
      {"scan 0 --lnb 1:192E:9750:10600:11700", "dtv: --lnb is for DVB-S devices"},
      {"scan 0 --tuning-data '" + missing + "'", "dtv: cannot read " + missing + ": "},
      {"scan 0 --tuning-data '" + broken + "'", "dtv: " + broken + ": not tuning data: "},
      {"scan 0 --tuning-data '" + m_tuners + "'", "dtv: " + m_tuners + ": not tuning data: the root is not"},
  };
  for (const Case& c : cases) {
    const DtvRun run = Dtv(c.arguments);
    EXPECT_EQ(run.exitCode, 1) << c.arguments << "\n" << run.output;
    EXPECT_EQ(run.output.rfind(c.message, 0), 0u) << c.arguments << "\n" << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << c.arguments << "\n" << run.output;
  }
  for (const std::string& file : {missing, broken}) {
    const DtvRun run = RunDtv("--channels '" + file + "' record 1 -o '" + std::string(m_dir / "y.ts") + "'");
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_EQ(run.output.rfind("dtv: ", 0), 0u) << run.output;
    EXPECT_NE(run.output.find(file), std::string::npos) << run.output;
  }
  EXPECT_NE(ReadFileBytes(m_channels).find("Demo One"), std::string::npos);
  // The stored channels of 570 MHz, on a tuner that no longer receives it.
  WriteDescription({{474000, 1}});
  const std::string earlier = m_dir / "z.ts";
  std::ofstream(earlier) << "an earlier recording";
  const DtvRun noSignal = Dtv("record 'Jazz FM' --duration 1 -o '" + earlier + "'");
  EXPECT_EQ(noSignal.exitCode, 1) << noSignal.output;
  EXPECT_NE(noSignal.output.find("dtv: no signal on 'Jazz FM' (570000 kHz)"), std::string::npos) << noSignal.output;
  EXPECT_EQ(ReadFileBytes(earlier), "an earlier recording");
  for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
    EXPECT_NE(entry.path().filename().string().rfind(".z.ts.", 0), 0u) << "temporary file left: " << entry.path();
}
