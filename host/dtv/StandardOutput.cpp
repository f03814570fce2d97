#include "StandardOutput.h"

#include <poll.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>

void IgnoreBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

bool IsClosedByReader(int error) { return error == EPIPE; }

namespace {
// A pipe whose reader has gone reports POLLERR to its writer, a socket POLLHUP.
bool ReaderHasGone() {
  pollfd out{1, 0, 0};
  return ::poll(&out, 1, 0) == 1 && (out.revents & (POLLERR | POLLHUP)) != 0;
}
}  // namespace

int FinishStandardOutput(int status) {
  // The C stream first: std::cout shares its buffer, and its flush would
  // leave the write's errno unknown here.
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int error = errno;
  std::cout.flush();
  if (flushed && !std::ferror(stdout) && !std::cout.bad()) return status;
  if (IsClosedByReader(error) || ReaderHasGone()) return status;
  if (!flushed && error != 0)
    std::fprintf(stderr, "dtv: cannot write to standard output: %s\n", std::strerror(error));
  else
    std::fprintf(stderr, "dtv: cannot write to standard output\n");
  return 1;
}
