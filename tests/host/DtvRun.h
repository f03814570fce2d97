#pragma once
// Runs the built dtv command and collects its output.
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct DtvRun {
  int exitCode;
  std::string output;  // standard output and error
};

// Runs a shell command line; a death by signal shows as 128 + the signal.
DtvRun RunShell(const std::string& commandLine) {
  const std::string command = commandLine + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {-1, "cannot run " + command};
  DtvRun run{0, {}};
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
  return run;
}

DtvRun RunDtv(const std::string& arguments) { return RunShell(std::string("'") + DTV_COMMAND + "' " + arguments); }

}  // namespace
