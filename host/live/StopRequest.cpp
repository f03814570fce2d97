#include "live/StopRequest.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "dtvhost/HostError.h"

namespace {
// The write end the handler reports to; one StopRequest at a time.
std::atomic<int> g_signalPipe{-1};
constexpr char kSignalled = 's';
constexpr char kQuit = 'q';

struct sigaction g_previousInt, g_previousTerm;

void OnSignal(int) {
  const int saved = errno;
  const int fd = g_signalPipe.load();
  if (fd >= 0) (void)!::write(fd, &kSignalled, 1);
  errno = saved;
}
}  // namespace

StopRequest::StopRequest() {
  if (::pipe2(m_pipe, O_CLOEXEC) != 0) throw HostError("cannot watch for Ctrl-C: no pipe");
  g_signalPipe.store(m_pipe[1]);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, &g_previousInt);
  sigaction(SIGTERM, &action, &g_previousTerm);
  m_watcher = std::thread([this] { Watch(); });
}

StopRequest::~StopRequest() {
  sigaction(SIGINT, &g_previousInt, nullptr);
  sigaction(SIGTERM, &g_previousTerm, nullptr);
  g_signalPipe.store(-1);
  (void)!::write(m_pipe[1], &kQuit, 1);
  m_watcher.join();
  ::close(m_pipe[0]);
  ::close(m_pipe[1]);
}

void StopRequest::Watch() {
  for (;;) {
    char byte = 0;
    const ssize_t n = ::read(m_pipe[0], &byte, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || byte == kQuit) return;
    m_interrupted.store(true);
    m_stopped.Set();
  }
}
