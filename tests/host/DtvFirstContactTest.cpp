// End to end: what a new user meets first — wrong commands, missing files,
// devices that cannot be opened, broken descriptions and plug-ins, and dtv
// feeding a reader that stops early.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "DtvRun.h"
#include "support/TempSettingsRoot.h"

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// A device tree with one frontend node; `mode` 0 leaves it out.
fs::path FakeDevRoot(const fs::path& root, const std::string& node, mode_t mode) {
  const fs::path frontend = root / "dev" / "dvb" / node;
  fs::create_directories(frontend.parent_path());
  std::ofstream(frontend) << "";
  ::chmod(frontend.c_str(), mode);
  for (fs::path dir = frontend.parent_path(); dir != root.parent_path(); dir = dir.parent_path())
    ::chmod(dir.c_str(), 0755);
  return root / "dev";
}

// Runs dtv as an unprivileged user: root opens any file, a user cannot.
std::string AsUser() { return ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : ""; }

struct ErrorCase {
  const char* name;
  std::string arguments;  // after dtv; may start with an environment or setpriv
  int exitCode;
  std::string message;  // the start of a line of the output
};

class DtvFirstContact : public ::testing::Test {
 protected:
  TempRoot m_root;
  fs::path Dir() const { return m_root.Path(); }
  void SetUp() override { ::chmod(Dir().c_str(), 0755); }
};

TEST_F(DtvFirstContact, EveryMistakeGetsAOneLineReasonAndAnExitStatus) {
  const fs::path empty = Dir() / "empty.ts";
  std::ofstream(empty) << "";
  const fs::path brokenTuners = Dir() / "broken-tuners.xml";
  std::ofstream(brokenTuners) << "<virtualTuners><tuner";
  const fs::path hashTuners = Dir() / "hash-tuners.xml";
  std::ofstream(hashTuners) << "<virtualTuners><tuner id=\"a#b\" system=\"DVB-T\"/></virtualTuners>";
  const fs::path fifoTuners = Dir() / "fifo-tuners.xml";
  ::mkfifo(fifoTuners.c_str(), 0644);
  const fs::path hugeTuners = Dir() / "huge-tuners.xml";
  std::ofstream(hugeTuners) << "<virtualTuners><tuner id=\"" << std::string(17 << 20, 'x') << "\"/></virtualTuners>";
  const fs::path cutPlugin = Dir() / "libDigitalTvPlugin.so";
  fs::copy_file(DTV_PLUGIN_PATH, cutPlugin);
  fs::resize_file(cutPlugin, fs::file_size(DTV_PLUGIN_PATH) / 3);
  const fs::path lockedDev = FakeDevRoot(Dir() / "locked", "adapter0/frontend0", 0600);
  const fs::path fileDev = FakeDevRoot(Dir() / "file", "adapter0/frontend0", 0644);
  const fs::path absurdDev = FakeDevRoot(Dir() / "absurd", "adapter99999999999/frontend0", 0644);
  const std::string devices = "devices --no-demo --dev-root ";

  const ErrorCase cases[] = {
      {"unknown command", "bogus", 2, "dtv: unknown command 'bogus'; the commands are: info, devices, analyze"},
      {"unknown option", "info --frobnicate", 2, "dtv: The following argument was not expected: --frobnicate"},
      {"no command", "", 2, "dtv: A subcommand is required"},
      {"missing file", "analyze " + Quoted(Dir() / "missing.ts"), 1, "dtv analyze: cannot open "},
      {"directory", "analyze " + Quoted(Dir()), 1, "dtv analyze: cannot "},
      {"empty file", "analyze " + Quoted(empty), 1, "dtv analyze: "},
      {"frontend the user may not open", AsUser() + "'" DTV_COMMAND "' " + devices + Quoted(lockedDev), 1,
       "dtv: DVB frontend " + (lockedDev / "dvb/adapter0/frontend0").string() +
           " could not be opened: Permission denied; add yourself to the video group: sudo usermod -aG video $USER"},
      {"frontend that is no device", devices + Quoted(fileDev), 1,
       "dtv: DVB frontend " + (fileDev / "dvb/adapter0/frontend0").string() + " does not answer FE_GET_INFO"},
      {"absurd adapter number", devices + Quoted(absurdDev), 1, "dtv: DVB frontend "},
      {"broken --virtual-tuners", devices + "/nonexistent --virtual-tuners " + Quoted(brokenTuners), 1,
       "dtv: " + brokenTuners.string() + ": "},
      {"broken DTV_VIRTUAL_TUNERS", "devices --dev-root /nonexistent", 1, "dtv: " + brokenTuners.string() + ": "},
      {"FIFO as --virtual-tuners", devices + "/nonexistent --virtual-tuners " + Quoted(fifoTuners), 1,
       "dtv: " + fifoTuners.string() + ": not a regular file"},
      {"huge description", devices + "/nonexistent --virtual-tuners " + Quoted(hugeTuners), 1,
       "dtv: " + hugeTuners.string() + ": larger than 16 MB"},
      {"'#' in a tuner id", devices + "/nonexistent --virtual-tuners " + Quoted(hashTuners), 1,
       "dtv: " + hashTuners.string() + ": tuner id \"a#b\" contains '#'"},
      {"same description twice", devices + "/nonexistent --virtual-tuners " + Quoted(hashTuners.parent_path() / "x") +
                                     " --virtual-tuners " + Quoted(hashTuners.parent_path() / "x"),
       1, "dtv: " + (hashTuners.parent_path() / "x").string() + ": listed twice"},
      {"truncated plug-in", "info --plugin " + Quoted(cutPlugin), 1, "dtv: not a plug-in: " + cutPlugin.string()},
      {"text as plug-in", "info --plugin " + Quoted(brokenTuners), 1, "dtv: not a plug-in: " + brokenTuners.string()},
  };
  std::ofstream(Dir() / "x") << "<virtualTuners><tuner id=\"t\" system=\"DVB-T\"/></virtualTuners>";
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    const bool environment = std::string(c.name) == "broken DTV_VIRTUAL_TUNERS";
    if (environment) ::setenv("DTV_VIRTUAL_TUNERS", brokenTuners.c_str(), 1);
    const bool own = c.arguments.rfind("setpriv", 0) == 0 || c.arguments.rfind("'", 0) == 0;
    const DtvRun run = own ? RunShell(c.arguments) : RunDtv(c.arguments);
    if (environment) ::unsetenv("DTV_VIRTUAL_TUNERS");
    EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
    const size_t at = run.output.find(c.message);
    EXPECT_TRUE(at == 0 || (at != std::string::npos && run.output[at - 1] == '\n')) << run.output;
    EXPECT_EQ(run.output.find("terminate called"), std::string::npos) << run.output;
  }
}

TEST_F(DtvFirstContact, TheSameMessageIsNotRepeated) {
  const fs::path dev = FakeDevRoot(Dir() / "file", "adapter0/frontend0", 0644);
  const DtvRun run = RunDtv("devices --no-demo --dev-root " + Quoted(dev));
  const size_t first = run.output.find("does not answer");
  ASSERT_NE(first, std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("does not answer", first + 1), std::string::npos) << run.output;
}

// A reader that has already gone: every write of dtv fails with EPIPE. That
// is a normal end for a program whose output is piped, as with `ls | head`.
int ExitStatusIntoClosedPipe(const std::string& arguments) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  ::close(fds[0]);
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(fds[1], 1);
    const int devnull = ::open("/dev/null", O_WRONLY);
    ::dup2(devnull, 2);
    ::execl("/bin/sh", "sh", "-c", (std::string("exec '") + DTV_COMMAND + "' " + arguments).c_str(), nullptr);
    ::_exit(127);
  }
  ::close(fds[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST_F(DtvFirstContact, AReaderThatStopsEarlyIsANormalEnd) {
  const std::string demo = Quoted(DTV_DEMO_DIR "/demo-mux1.ts");
  for (const std::string& arguments :
       {std::string("info"), std::string("info --lists"), std::string("devices --dev-root /nonexistent"),
        "analyze " + demo, "analyze --epg " + demo, "analyze --json --epg " + demo}) {
    SCOPED_TRACE(arguments);
    EXPECT_EQ(ExitStatusIntoClosedPipe(arguments), 0);
    const DtvRun run = RunShell("bash -c \"set -o pipefail; '" DTV_COMMAND "' " + arguments + " | head -1 >/dev/null\"");
    EXPECT_EQ(run.exitCode, 0) << run.output;
  }
}

TEST_F(DtvFirstContact, AFullDiskIsAnErrorWithItsReason) {
  for (const char* arguments : {"info", "devices --dev-root /nonexistent"}) {
    SCOPED_TRACE(arguments);
    const DtvRun run = RunShell(std::string("{ '") + DTV_COMMAND + "' " + arguments + " >/dev/full; }");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "dtv: cannot write to standard output: No space left on device\n");
  }
}

TEST_F(DtvFirstContact, EveryDemoStepEndsWellWhenItsReaderStopsEarly) {
  // A build tree whose dtv pipes every output of the real one into `head -1`,
  // under pipefail as the demo script itself runs.
  const fs::path build = Dir() / "build";
  fs::create_directories(build / "host");
  fs::create_directory_symlink(DTV_DEMO_DIR, build / "demo");
  const fs::path wrapper = build / "host" / "dtv";
  std::ofstream(wrapper) << "#!/bin/bash\nset -o pipefail\n'" DTV_COMMAND "' \"$@\" | head -1\n";
  fs::permissions(wrapper, fs::perms::owner_all);
  const DtvRun run = RunShell("bash '" DTV_DEMO_STEPS "' " + Quoted(build));
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("Plug-in: DigitalTvPlugin"), std::string::npos) << run.output;
}

}  // namespace
