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

DtvRun RunDtv(const std::string& arguments) {
  const std::string command = std::string("'") + DTV_COMMAND + "' " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {-1, "cannot run " + command};
  DtvRun run{0, {}};
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace
