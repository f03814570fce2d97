#include "logging/LogFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <future>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "platform/os/NamedLock.h"
#include "platform/sync/Clock.h"
#include "support/TempSettingsRoot.h"

namespace {

using ::testing::HasSubstr;

const std::string kLongBanner =
    "\r\n\r\n"
    "\\*{44}\r\n"
    "\\*     Log created: [0-9]{2}\\.[0-9]{2}\\.[0-9]{4}              \\*\r\n"
    "\\*     ProcessId:   0x[0-9a-f]{4}                  \\*\r\n"
    "\\*     ThreadId:    0x[0-9a-f]{4}                  \\*\r\n"
    "\\*{44}\r\n";
const std::string kShortBanner =
    "\\*{44}\r\n"
    "\\*     ProcessId: 0x[0-9a-f]{4}                    \\*\r\n"
    "\\*     ThreadId:  0x[0-9a-f]{4}                    \\*\r\n"
    "\\*{44}\r\n";
const std::string kPrefix = "[0-9]{2}:[0-9]{2}:[0-9]{2} \\[0x[0-9a-f]{4,} 0x[0-9a-f]{4,}\\] ";

class LogFileTest : public ::testing::Test {
 protected:
  void TearDown() override { LogFileShutdown(); }

  std::filesystem::path LogPath() const { return m_root.Path() / "out.log"; }

  void Configure(const std::string& values) const {
    m_root.WriteSettings("user", "FileName=\"" + LogPath().string() + "\"\n" + values);
  }

  std::string Contents() const {
    std::ifstream file(LogPath(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  // What was written since `before`.
  std::string After(const std::string& before) const { return Contents().substr(before.size()); }

  void Preexisting(const std::string& text) const { std::ofstream(LogPath(), std::ios::binary) << text; }

  TempRoot m_root;
};

// std::regex needs the whole text to match, line breaks included.
bool Matches(const std::string& text, const std::string& pattern) { return std::regex_match(text, std::regex(pattern)); }

TEST_F(LogFileTest, LevelZeroCreatesNoFileAndNoLock) {
  Configure("LogLevel=0\n");
  EXPECT_EQ(LogFileInit(), S_OK);
  log(0, "nothing");
  log(1, "nothing");
  EXPECT_FALSE(std::filesystem::exists(LogPath()));
  EXPECT_FALSE(std::filesystem::exists(m_root.Path() / "VexaCaptureAPI.lock"));
}

TEST_F(LogFileTest, WithoutInitOrSettingsNothingIsWritten) {
  log(0, "before init");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(LogFileInit(), S_OK);
  // No settings is how a new machine starts: nothing to complain about.
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  log(0, "no settings");
  EXPECT_TRUE(std::filesystem::is_empty(m_root.Path()));
}

TEST_F(LogFileTest, UnwritableFileIsReportedAndWritesAreSkipped) {
  m_root.WriteSettings("user", "FileName=\"" + (m_root.Path() / "missing/out.log").string() + "\"\n");
  ::testing::internal::CaptureStderr();
  LogFileInit();
  log(1, "lost");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "LogFile: cannot create file!\n");
}

TEST_F(LogFileTest, AFifoOrDirectoryAsTheFileIsRefusedWithoutBlocking) {
  const std::filesystem::path fifo = m_root.Path() / "fifo.log";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::filesystem::path& target : {fifo, m_root.Path()}) {
    SCOPED_TRACE(target);
    m_root.WriteSettings("user", "FileName=\"" + target.string() + "\"\n");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(LogFileInit(), S_OK);
    log(1, "lost");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "LogFile: cannot create file!\n");
    LogFileShutdown();
  }
}

TEST_F(LogFileTest, ALockHeldElsewhereCostsOneBoundedWaitThenLinesAreLeftOut) {
  Configure("");
  LogFileInit();
  const std::string before = Contents();
  auto other = NamedLock::Create("VexaCaptureAPI", nullptr);
  other->Lock();
  {
    ScopedManualClock clock;
    auto writer = std::async(std::launch::async, [] { log(1, "while locked"); });
    while (writer.wait_for(std::chrono::seconds(0)) != std::future_status::ready) clock->Advance(100);
    // Once missed, the next line does not wait at all: no clock needed.
    log(1, "still locked");
  }
  other->Unlock();
  log(1, "unlocked");
  EXPECT_TRUE(Matches(After(before), kPrefix + "\\[Level 1\\]: unlocked\r\n")) << After(before);
}

struct OpenCase {
  const char* name;
  bool appendLog;
  bool otherUser;
  bool keepsOldText;
  bool longBanner;
};

TEST_F(LogFileTest, TruncateOrAppendByUserAndSetting) {
  const OpenCase cases[] = {
      {"first user truncates", false, false, false, true},
      {"first user with AppendLog keeps", true, false, true, true},
      {"second user appends, short banner", false, true, true, false},
      {"second user with AppendLog", true, true, true, false},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.name);
    Configure(c.appendLog ? "AppendLog=1\n" : "");
    Preexisting("old line\r\n");
    auto other = c.otherUser ? NamedLock::Create("VexaCaptureAPI", nullptr) : nullptr;
    LogFileInit();
    LogFileInit();  // a second call leaves the open file alone
    const std::string text = Contents();
    const std::string old = c.keepsOldText ? "old line\r\n" : "";
    EXPECT_TRUE(Matches(text, old + (c.longBanner ? kLongBanner : kShortBanner))) << text;
    LogFileShutdown();
  }
}

TEST_F(LogFileTest, LineFormat) {
  Configure("LogLevel=1\n");
  LogFileInit();
  const std::string before = Contents();
  log(1, "DigitalTvPlugin::DllCanUnloadNow: hr=%d, count=%d", 0, 2);
  log(0, "level %s", "zero");
  EXPECT_TRUE(Matches(After(before), kPrefix + "\\[Level 1\\]: DigitalTvPlugin::DllCanUnloadNow: hr=0, count=2\r\n" +
                                         kPrefix + "\\[Level 0\\]: level zero\r\n"))
      << After(before);
}

TEST_F(LogFileTest, NothingAboveTheThreshold) {
  Configure("LogLevel=3\n");
  LogFileInit();
  const std::string before = Contents();
  log(4, "too detailed");
  log(-1, "negative");
  EXPECT_EQ(Contents(), before);
  log(3, "at the threshold");
  EXPECT_THAT(After(before), HasSubstr("[Level 3]: at the threshold\r\n"));
}

TEST_F(LogFileTest, LongMessagesAreCutAt8191Characters) {
  Configure("");
  LogFileInit();
  std::string before = Contents();
  log(1, "%s", std::string(10000, 'x').c_str());
  EXPECT_THAT(After(before), HasSubstr("]: " + std::string(8191, 'x') + "\r\n"));

  // Characters, not bytes: the two-byte character is the 8191st and stays whole.
  before = Contents();
  log(1, "%s\u00e9yy", std::string(8190, 'x').c_str());
  EXPECT_THAT(After(before), HasSubstr("]: " + std::string(8190, 'x') + "\u00e9\r\n"));

  before = Contents();
  log(1, "%s", std::string(8191, 'y').c_str());
  EXPECT_THAT(After(before), HasSubstr("]: " + std::string(8191, 'y') + "\r\n"));
}

TEST_F(LogFileTest, WrongTypedValuesKeepTheirDefaults) {
  // A quoted LogLevel is a string: the default level 1 stays, so a file exists.
  Configure("LogLevel=\"0\"\nAppendLog=\"1\"\n");
  Preexisting("old line\r\n");
  LogFileInit();
  EXPECT_TRUE(Matches(Contents(), kLongBanner)) << Contents();
  const std::string before = Contents();
  log(1, "default level");
  log(2, "above it");
  EXPECT_TRUE(Matches(After(before), kPrefix + "\\[Level 1\\]: default level\r\n")) << After(before);
}

TEST_F(LogFileTest, DebugOutputMirrorsTheMessageToStandardError) {
  Configure("DebugOutput=1\nFlush=1\n");
  LogFileInit();
  ::testing::internal::CaptureStderr();
  log(1, "seen %d", 1);
  log(2, "not seen");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "seen 1\n");
  EXPECT_THAT(Contents(), HasSubstr("[Level 1]: seen 1\r\n"));
}

TEST_F(LogFileTest, TraceFailureLines) {
  Configure("");
  LogFileInit();
  const std::string before = Contents();
  traceFailure(S_OK, "(hr) = (Succeeds())", "Caller");
  traceFailure(S_FALSE, "(hr) = (Succeeds())", "Caller");
  traceFailure(E_FAIL, "(hr) = (pGraph->Run())", "GraphManager");
  traceFailure(E_INVALIDARG, nullptr, "GraphManager");
  traceFailure(static_cast<HRESULT>(0x80040209), "(hr) = (Connect())", nullptr);
  traceFailure(static_cast<HRESULT>(0x80041234), "(hr) = (Other())", "Caller");
  EXPECT_TRUE(Matches(After(before),
                      kPrefix + "\\[Level 1\\]: ERROR: HRESULT=0x80004005, 'Unspecified error'; "
                                "EXPR='\\(hr\\) = \\(pGraph->Run\\(\\)\\)'; FILE='GraphManager'\r\n" +
                          kPrefix + "\\[Level 1\\]: ERROR: HRESULT=0x80070057, 'The parameter is incorrect\\.'\r\n" +
                          kPrefix + "\\[Level 1\\]: ERROR: HRESULT=0x80040209, '<no error message>'\r\n" + kPrefix +
                          "\\[Level 1\\]: ERROR: HRESULT=0x80041234, '<no error message>'; "
                          "EXPR='\\(hr\\) = \\(Other\\(\\)\\)'; FILE='Caller'\r\n"))
      << After(before);
}

HRESULT Fails() { return E_NOTIMPL; }
HRESULT Propagates() {
  static constexpr const char* kLogFile = "LogFileTest";
  RETURN_IF_FAILED(S_OK);
  RETURN_IF_FAILED(Fails());
  return S_OK;
}

TEST_F(LogFileTest, ReturnIfFailedTracesTheCall) {
  Configure("");
  LogFileInit();
  const std::string before = Contents();
  EXPECT_EQ(Propagates(), E_NOTIMPL);
  EXPECT_THAT(After(before),
              HasSubstr("ERROR: HRESULT=0x80004001, 'Not implemented'; EXPR='(hr) = (Fails())'; FILE='LogFileTest'\r\n"));
}

TEST_F(LogFileTest, ShutdownLeavesAnInactiveLog) {
  Configure("");
  LogFileInit();
  LogFileShutdown();
  const std::string before = Contents();
  log(0, "after shutdown");
  EXPECT_EQ(Contents(), before);
  bool existed = true;
  EXPECT_TRUE(NamedLock::Create("VexaCaptureAPI", &existed));
  EXPECT_FALSE(existed);  // the log let go of its lock
}

TEST_F(LogFileTest, ConcurrentWritersKeepLinesWhole) {
  Configure("");
  LogFileInit();
  const std::string before = Contents();
  auto writer = [](char letter) {
    for (int i = 0; i < 200; ++i) log(1, "%s", std::string(300, letter).c_str());
  };
  std::thread a(writer, 'a');
  std::thread b(writer, 'b');
  a.join();
  b.join();
  std::istringstream lines(After(before));
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    ++count;
    EXPECT_TRUE(Matches(line, kPrefix + "\\[Level 1\\]: (a{300}|b{300})\r")) << line;
  }
  EXPECT_EQ(count, 400);
}

}  // namespace
