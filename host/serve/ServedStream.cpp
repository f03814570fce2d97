#include "serve/ServedStream.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "dtvhost/HostError.h"
#include "live/ChannelTuning.h"

namespace {
// A second of a multiplex at 8 Mbit/s between tuner and client.
constexpr int kPipeBytes = 1 << 20;
constexpr size_t kChunkBytes = 64 * 1024;
// How often a quiet stream checks that its client is still there.
constexpr int kIdleCheckMs = 1000;

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}
}  // namespace

ServedStream::ServedStream(std::unique_ptr<TunerLease> lease, IKxChannel* channel, Event& stop, GuideStore& guide)
    : m_lease(std::move(lease)), m_guide(guide) {
  if (::pipe2(m_pipe, O_CLOEXEC) != 0) throw HostError(fmt::format("cannot make a pipe: {}", std::strerror(errno)));
  // A bigger pipe is only smoother; the default one works too.
  ::fcntl(m_pipe[1], F_SETPIPE_SZ, kPipeBytes);
  m_receiver = ComObject<CStreamReceiver>::Make(m_pipe[1], "the HTTP client", std::nullopt);
  try {
    m_graph = TuneOnDevice(m_lease->Device(), channel, static_cast<ITransportStreamSinkCallback*>(m_receiver.Get()),
                           stop);
  } catch (...) {
    CloseFd(m_pipe[0]);
    CloseFd(m_pipe[1]);
    throw;
  }
  if (!m_graph) {
    CloseFd(m_pipe[0]);
    CloseFd(m_pipe[1]);
    throw HostError("the server is stopping");
  }
  // A tuner that cannot collect the guide still streams.
  if (IKxEpgManager* epg = m_graph->Epg()) epg->StartEpgScan();
}

ServedStream::~ServedStream() {
  CloseFd(m_pipe[0]);
  if (IKxEpgManager* epg = m_graph->Epg()) {
    ComPtr<IKxEpgEvents> events;
    if (SUCCEEDED(epg->get_EpgEvents(events.Put()))) m_guide.AddEvents(events.Get());
    epg->StopEpgScan();
  }
  m_graph.reset();
  CloseFd(m_pipe[1]);
}

bool ServedStream::Pump(httplib::DataSink& sink, int stopFd) {
  pollfd fds[2] = {{m_pipe[0], POLLIN, 0}, {stopFd, POLLIN, 0}};
  const int ready = ::poll(fds, 2, kIdleCheckMs);
  if (ready < 0) return errno == EINTR;
  if (fds[1].revents) return false;
  if (ready == 0) return sink.is_writable();
  char buffer[kChunkBytes];
  const ssize_t n = ::read(m_pipe[0], buffer, sizeof buffer);
  if (n <= 0) return n < 0 && errno == EINTR;
  return sink.write(buffer, static_cast<size_t>(n));
}
