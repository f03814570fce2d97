// dtv analyze on a real capture as recordings come to it: cut, followed by
// junk, in other packet sizes, from a FIFO or a pipe, not a stream at all;
// and with outputs that must not be written or cannot be.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "support/TempDir.h"
#include "support/TestData.h"

namespace {

struct ShellRun {
  int exitCode;
  std::string out;
  std::string err;
};

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs a shell command line in dir, "dtv" standing for the built command.
ShellRun Shell(const TempDir& dir, const std::string& line) {
  std::string command = line;
  for (size_t at = command.find("dtv "); at != std::string::npos; at = command.find("dtv ", at + 1))
    command.replace(at, 3, std::string("'") + DTV_COMMAND + "'");
  command = "cd '" + dir.Path() + "' && (" + command + ") 2>stderr.txt";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {-1, {}, "cannot run " + command};
  ShellRun run{0, {}, {}};
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadText(dir / "stderr.txt");
  return run;
}

// Arbitrary bytes, the same on every run.
std::string Junk(size_t count) {
  std::string junk(count, '\0');
  uint32_t state = 777;
  for (char& c : junk) {
    state = state * 1103515245 + 12345;
    c = static_cast<char>(state >> 16);
  }
  return junk;
}

std::string Framed(const std::string& stream, size_t before, size_t after) {
  std::string out;
  for (size_t i = 0; i + 188 <= stream.size(); i += 188)
    out += std::string(before, '\x5A') + stream.substr(i, 188) + std::string(after, '\xA5');
  return out;
}

TEST(DtvAnalyzeTest, DamagedRecordings) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  const std::string clean = ReadText(path.string());
  TempDir dir;
  dir.Write("clean.ts", clean);
  const ShellRun reference = Shell(dir, "dtv analyze clean.ts --epg --json");
  ASSERT_EQ(reference.exitCode, 0) << reference.err;
  const nlohmann::json expected = nlohmann::json::parse(reference.out);
  ASSERT_FALSE(expected["channels"].empty());
  ASSERT_FALSE(expected["events"].empty());

  struct Case {
    const char* name;
    std::function<void(const TempDir&)> prepare;
    const char* command;
    int exitCode;
    std::string message;  // on standard error; empty: nothing there
    bool sameChannels;    // the channels and events of the clean run
  };
  const size_t cut = 3759900;
  const std::string last = std::to_string(clean.size() / 188 * 188 - 188);
  const Case cases[] = {
      {"cut inside a packet", [&](const TempDir& d) { d.Write("r.ts", clean.substr(0, cut)); },
       "dtv analyze r.ts --epg --json", 0,
       "dtv analyze: r.ts: skipped " + std::to_string(cut - std::stoul(last)) + " bytes at offset " + last +
           ": the stream ends inside a packet\n",
       true},
      {"junk after the end", [&](const TempDir& d) { d.Write("r.ts", clean + Junk(5000)); },
       "dtv analyze r.ts --epg --json", 0,
       "dtv analyze: r.ts: skipped 5000 bytes at offset " + std::to_string(clean.size()) + ": no packet sync\n", true},
      {"M2TS timecodes", [&](const TempDir& d) { d.Write("r.m2ts", Framed(clean, 4, 0)); },
       "dtv analyze r.m2ts --epg --json", 0, "", true},
      {"204-byte packets", [&](const TempDir& d) { d.Write("r.ts", Framed(clean, 0, 16)); },
       "dtv analyze r.ts --epg --json", 0, "", true},
      {"random bytes", [&](const TempDir& d) { d.Write("r.ts", Junk(1 << 20)); }, "dtv analyze r.ts --json", 1,
       "dtv analyze: r.ts: not a transport stream: no 188-, 192- or 204-byte packets found\n", false},
      {"zeros", [&](const TempDir& d) { d.Write("r.ts", std::string(16 << 20, '\0')); }, "dtv analyze r.ts", 1,
       "dtv analyze: r.ts: not a transport stream: no packet sync in the first 4 MiB\n", false},
      {"FIFO", [&](const TempDir& d) { ASSERT_EQ(::mkfifo((d / "live.ts").c_str(), 0600), 0); },
       "cat clean.ts > live.ts & dtv analyze live.ts --epg --json", 0, "", true},
      {"standard input from a pipe", nullptr, "cat clean.ts | dtv analyze - --epg --json", 0, "", true},
      {"standard input from a cut file", [&](const TempDir& d) { d.Write("r.ts", clean.substr(0, cut)); },
       "dtv analyze - --epg --json < r.ts", 0, "dtv analyze: standard input: skipped ", true},
      {"XMLTV over the input", [&](const TempDir& d) { d.Write("r.ts", clean); },
       "dtv analyze r.ts --epg --xmltv r.ts", 1, "dtv analyze: cannot write r.ts: it is the input\n", false},
      {"XMLTV over the input through a link",
       [&](const TempDir& d) {
         d.Write("r.ts", clean);
         std::filesystem::create_symlink("r.ts", d / "link.xml");
       },
       "dtv analyze r.ts --epg --xmltv link.xml", 1, "dtv analyze: cannot write link.xml: it is the input\n", false},
      {"XMLTV over standard input", [&](const TempDir& d) { d.Write("r.ts", clean); },
       "dtv analyze - --epg --xmltv r.ts < r.ts", 1, "dtv analyze: cannot write r.ts: it is the input\n", false},
      {"standard output full", nullptr, "dtv analyze clean.ts --epg --json > /dev/full", 1,
       "dtv analyze: cannot write standard output: No space left on device\n", false},
      {"XMLTV file on a full device", nullptr, "dtv analyze clean.ts --epg --xmltv /dev/full", 1,
       "dtv analyze: cannot write /dev/full: No space left on device\n", false},
      {"XMLTV in a missing directory", nullptr, "dtv analyze clean.ts --epg --xmltv missing/out.xml", 1,
       "dtv analyze: cannot write missing/out.xml: No such file or directory\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir scratch;
    scratch.Write("clean.ts", clean);
    if (c.prepare) c.prepare(scratch);
    const std::string before = ReadText(scratch / "r.ts");
    const ShellRun run = Shell(scratch, c.command);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    if (c.message.empty() || c.message.back() != '\n')
      EXPECT_EQ(run.err.substr(0, c.message.size()), c.message);
    else
      EXPECT_EQ(run.err, c.message);
    // An input is never written.
    EXPECT_EQ(ReadText(scratch / "r.ts"), before);
    if (!c.sameChannels) continue;
    ASSERT_TRUE(nlohmann::json::accept(run.out)) << run.out.substr(0, 200);
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["channels"], expected["channels"]);
    EXPECT_EQ(doc["events"], expected["events"]);
    EXPECT_EQ(doc["warnings"].size(), c.message.empty() ? 0u : 1u);
  }
}

TEST(DtvAnalyzeTest, XmltvReplacesTheTargetOnlyWhenComplete) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  TempDir dir;
  dir.Write("clean.ts", ReadText(path.string()));
  dir.Write("guide.xml", "old guide");
  ASSERT_EQ(::chmod((dir / "guide.xml").c_str(), 0640), 0);
  dir.Write("bad.ts", Junk(10000));

  // A run that fails leaves the old file as it was.
  EXPECT_EQ(Shell(dir, "dtv analyze bad.ts --epg --xmltv guide.xml").exitCode, 1);
  EXPECT_EQ(ReadText(dir / "guide.xml"), "old guide");

  ASSERT_EQ(Shell(dir, "dtv analyze clean.ts --epg --xmltv guide.xml").exitCode, 0);
  EXPECT_EQ(ReadText(dir / "guide.xml").rfind("<?xml", 0), 0u);
  struct stat info {};
  ASSERT_EQ(::stat((dir / "guide.xml").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  // Nothing else is left in the directory.
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 4u);  // clean.ts, bad.ts, guide.xml, stderr.txt
}

}  // namespace
