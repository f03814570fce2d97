#include "live/ProgressOutput.h"

#include <unistd.h>

#include <cstdio>

ProgressOutput::ProgressOutput() : m_terminal(::isatty(STDERR_FILENO) == 1) {}

ProgressOutput::~ProgressOutput() {
  if (m_drawn) std::fputc('\n', stderr);
}

void ProgressOutput::Show(const std::string& line) {
  if (!m_terminal) {
    std::fprintf(stderr, "%s\n", line.c_str());
    return;
  }
  // Back to the line's start and clear it: a shorter line leaves nothing behind.
  std::fprintf(stderr, "\r\033[K%s", line.c_str());
  std::fflush(stderr);
  m_drawn = true;
}
