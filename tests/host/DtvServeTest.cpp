// dtv serve on a virtual tuner playing the demo network, through the real
// plug-in, asked by a real HTTP client on the loopback address.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "DtvRun.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace {
constexpr const char* kXmltvDtd = "/usr/share/xmltv/xmltv.dtd";
constexpr size_t kMegabyte = 1 << 20;

std::string DemoFile(int mux) { return std::string(DTV_DEMO_DIR) + "/demo-mux" + std::to_string(mux) + ".ts"; }

// One DVB-T tuner receiving the three demo multiplexes at 48 Mbit/s.
std::string OneTuner() {
  std::string xml = R"(<virtualTuners><tuner id="t" system="DVB-T" friendlyName="Test Tuner">)";
  const std::pair<int, int> multiplexes[] = {{474000, 1}, {522000, 2}, {570000, 3}};
  for (const auto& [frequency, mux] : multiplexes)
    xml += "<multiplex frequency=\"" + std::to_string(frequency) + "\" file=\"" + DemoFile(mux) +
           "\" bitrate=\"48000000\"/>";
  return xml + "</tuner></virtualTuners>";
}

// A running `dtv serve`: its standard error is read line by line, so a
// test waits for what the server says it did.
class ServeProcess {
 public:
  explicit ServeProcess(std::vector<std::string> arguments) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(DTV_COMMAND));
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    m_pid = ::fork();
    if (m_pid == 0) {
      ::dup2(pipeFds[1], STDERR_FILENO);
      ::execv(DTV_COMMAND, argv.data());
      ::_exit(127);
    }
    ::close(pipeFds[1]);
    m_stderr = ::fdopen(pipeFds[0], "r");
  }
  ~ServeProcess() {
    if (m_pid > 0 && !m_exited) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, nullptr, 0);
    }
    if (m_stderr) std::fclose(m_stderr);
  }

  // The next line that starts with `prefix`; empty when dtv ended first.
  std::string WaitForLine(const std::string& prefix) {
    char line[4096];
    while (m_stderr && std::fgets(line, sizeof line, m_stderr)) {
      m_output += line;
      if (std::string_view(line).substr(0, prefix.size()) == prefix) return line;
    }
    return {};
  }
  // The port of "Listening on http://127.0.0.1:PORT/"; 0 when dtv did not listen.
  int Port() {
    const std::string line = WaitForLine("Listening on http://127.0.0.1:");
    return line.empty() ? 0 : std::atoi(line.c_str() + std::strlen("Listening on http://127.0.0.1:"));
  }
  // Stops it as Ctrl-C does; its exit status.
  int Terminate() {
    ::kill(m_pid, SIGTERM);
    WaitForLine("\x01");  // the rest of the output, to the end
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_exited = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  const std::string& Output() const { return m_output; }

 private:
  pid_t m_pid = -1;
  bool m_exited = false;
  FILE* m_stderr = nullptr;
  std::string m_output;
};

// A client that asked for a stream and holds the connection until closed.
class RawStreamClient {
 public:
  RawStreamClient(int port, const std::string& path) {
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return;
    const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    if (::write(m_fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) return;
    char buffer[4096];
    const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    if (n > 0) m_head.assign(buffer, static_cast<size_t>(n));
  }
  ~RawStreamClient() { Close(); }
  const std::string& Head() const { return m_head; }
  void Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
  }

 private:
  int m_fd = -1;
  std::string m_head;
};

class DtvServeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(m_tuners) << OneTuner();
    const DtvRun scan = RunDtv("--channels '" + m_channels + "' scan 0 --country 49 --no-demo --virtual-tuners '" +
                               m_tuners + "'");
    ASSERT_EQ(scan.exitCode, 0) << scan.output;
  }
  std::vector<std::string> ServeArguments(const std::string& listen, const std::string& guideSeconds = "2") const {
    return {"--channels", m_channels, "serve", "--listen", listen, "--guide-duration", guideSeconds,
            "--no-demo", "--virtual-tuners", m_tuners};
  }

  TempDir m_dir;
  std::string m_tuners = m_dir / "tuners.xml";
  std::string m_channels = m_dir / "channels.xml";
};

bool CiRun() { return std::getenv("CI") && std::string(std::getenv("CI")) == "true"; }
}  // namespace

TEST_F(DtvServeTest, ThePlaylistsChannelsAreInTheValidGuide) {
  ServeProcess serve(ServeArguments("127.0.0.1:0"));
  const int port = serve.Port();
  ASSERT_GT(port, 0) << serve.Output();
  httplib::Client client("127.0.0.1", port);
  const auto playlist = client.Get("/playlist.m3u");
  ASSERT_TRUE(playlist) << httplib::to_string(playlist.error());
  EXPECT_EQ(playlist->status, 200);
  const auto guide = client.Get("/epg.xml");
  ASSERT_TRUE(guide) << httplib::to_string(guide.error());
  EXPECT_EQ(guide->status, 200);

  const std::regex entry("tvg-id=\"([^\"]+)\"[^\n]*\n(http://[^\n]+)\n");
  std::set<std::string> urls;
  size_t entries = 0;
  for (auto it = std::sregex_iterator(playlist->body.begin(), playlist->body.end(), entry);
       it != std::sregex_iterator(); ++it, ++entries) {
    EXPECT_NE(guide->body.find("<channel id=\"" + (*it)[1].str() + "\">"), std::string::npos) << (*it)[1];
    urls.insert((*it)[2]);
  }
  EXPECT_EQ(entries, 12u) << playlist->body;
  EXPECT_TRUE(urls.count("http://127.0.0.1:" + std::to_string(port) + "/stream/1")) << playlist->body;
  EXPECT_NE(guide->body.find("<programme "), std::string::npos) << "no event collected";

  if (RunShell("command -v xmllint").exitCode != 0 || !std::filesystem::exists(kXmltvDtd)) {
    if (CiRun()) FAIL() << "xmllint or the XMLTV DTD missing";
    GTEST_SKIP() << "xmllint or " << kXmltvDtd << " not installed (libxml2-utils, xmltv-util)";
  }
  const std::string file = m_dir / "epg.xml";
  std::ofstream(file) << guide->body;
  const DtvRun lint = RunShell(std::string("xmllint --noout --dtdvalid ") + kXmltvDtd + " '" + file + "'");
  EXPECT_EQ(lint.exitCode, 0) << lint.output;
  EXPECT_EQ(serve.Terminate(), 0) << serve.Output();
}

TEST_F(DtvServeTest, AStreamIsTheTunedMultiplex) {
  ServeProcess serve(ServeArguments("127.0.0.1:0"));
  const int port = serve.Port();
  ASSERT_GT(port, 0) << serve.Output();
  httplib::Client client("127.0.0.1", port);
  std::string bytes;
  const auto response = client.Get("/stream/Demo%20News", [&](const char* data, size_t length) {
    bytes.append(data, length);
    return bytes.size() < kMegabyte;
  });
  ASSERT_GE(bytes.size(), kMegabyte) << serve.Output();
  bytes.resize(kMegabyte);
  // A run of the looping file of 522 MHz.
  const std::string mux2 = ReadFileBytes(DemoFile(2));
  std::string loop;
  while (loop.size() < 2 * kMegabyte + mux2.size()) loop += mux2;
  EXPECT_NE(loop.find(bytes), std::string::npos);
  EXPECT_FALSE(serve.WaitForLine("Stream of 'Demo News'").empty()) << serve.Output();
  EXPECT_EQ(serve.Terminate(), 0) << serve.Output();
}

TEST_F(DtvServeTest, AStreamedMultiplexAddsItsGuide) {
  ServeProcess serve(ServeArguments("127.0.0.1:0", "0"));
  const int port = serve.Port();
  ASSERT_GT(port, 0) << serve.Output();
  httplib::Client client("127.0.0.1", port);
  const auto before = client.Get("/epg.xml");
  ASSERT_TRUE(before) << httplib::to_string(before.error());
  EXPECT_EQ(before->body.find("<programme "), std::string::npos) << before->body;

  const auto playlist = client.Get("/playlist.m3u");
  ASSERT_TRUE(playlist) << httplib::to_string(playlist.error());
  std::smatch news;
  ASSERT_TRUE(std::regex_search(playlist->body, news, std::regex("tvg-id=\"([^\"]+)\"[^\n]*tvg-name=\"Demo News\"")))
      << playlist->body;
  // A whole loop of the multiplex carries every table of its guide.
  const size_t loopBytes = std::filesystem::file_size(DemoFile(2));
  size_t received = 0;
  client.Get("/stream/Demo%20News", [&](const char*, size_t length) {
    received += length;
    return received < 2 * loopBytes;
  });
  ASSERT_GE(received, 2 * loopBytes) << serve.Output();
  ASSERT_FALSE(serve.WaitForLine("Stream of 'Demo News'").empty()) << serve.Output();
  const auto after = client.Get("/epg.xml");
  ASSERT_TRUE(after) << httplib::to_string(after.error());
  EXPECT_NE(after->body.find("<programme start=\"" ), std::string::npos) << after->body;
  EXPECT_NE(after->body.find("channel=\"" + news[1].str() + "\""), std::string::npos) << news[1] << "\n" << after->body;
  EXPECT_EQ(serve.Terminate(), 0) << serve.Output();
}

TEST_F(DtvServeTest, ABusyTunerIs503UntilItsClientGoes) {
  ServeProcess serve(ServeArguments("127.0.0.1:0"));
  const int port = serve.Port();
  ASSERT_GT(port, 0) << serve.Output();
  RawStreamClient first(port, "/stream/1");
  ASSERT_EQ(first.Head().rfind("HTTP/1.1 200", 0), 0u) << first.Head();
  EXPECT_NE(first.Head().find("Content-Type: video/mp2t"), std::string::npos) << first.Head();

  httplib::Client client("127.0.0.1", port);
  const auto busy = client.Get("/stream/2");
  ASSERT_TRUE(busy) << httplib::to_string(busy.error());
  EXPECT_EQ(busy->status, 503);
  EXPECT_EQ(busy->body.rfind("every tuner for ", 0), 0u) << busy->body;
  EXPECT_EQ(std::count(busy->body.begin(), busy->body.end(), '\n'), 1) << busy->body;

  first.Close();
  ASSERT_FALSE(serve.WaitForLine("Stream of ").empty()) << serve.Output();
  RawStreamClient next(port, "/stream/2");
  EXPECT_EQ(next.Head().rfind("HTTP/1.1 200", 0), 0u) << next.Head();
  // Stopping with a stream running ends it too.
  EXPECT_EQ(serve.Terminate(), 0) << serve.Output();
  EXPECT_NE(serve.Output().find("Stream of "), serve.Output().rfind("Stream of ")) << serve.Output();
}

TEST_F(DtvServeTest, AnAddressItCannotListenOnIsOneLineAndStatus1) {
  ServeProcess serve(ServeArguments("127.0.0.1:0"));
  const int port = serve.Port();
  ASSERT_GT(port, 0) << serve.Output();
  struct Case {
    std::string listen;
    std::string message;
  };
  const std::string taken = "127.0.0.1:" + std::to_string(port);
  const Case cases[] = {
      {taken, "dtv: cannot listen on " + taken + ": Address already in use"},
      {"127.0.0.1", "dtv: bad listen address '127.0.0.1'"},
      {"127.0.0.1:99999", "dtv: bad listen address '127.0.0.1:99999'"},
      {"192.0.2.1:8080", "dtv: cannot listen on 192.0.2.1:8080: "},
  };
  for (const Case& c : cases) {
    const DtvRun run = RunDtv("--channels '" + m_channels + "' serve --listen '" + c.listen +
                              "' --guide-duration 0 --no-demo --virtual-tuners '" + m_tuners + "'");
    EXPECT_EQ(run.exitCode, 1) << c.listen << "\n" << run.output;
    EXPECT_EQ(run.output.rfind(c.message, 0), 0u) << c.listen << "\n" << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << c.listen << "\n" << run.output;
  }
  EXPECT_EQ(serve.Terminate(), 0) << serve.Output();
}
