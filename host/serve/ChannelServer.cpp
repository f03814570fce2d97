#include "serve/ChannelServer.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <fmt/format.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "channels/ChannelExports.h"
#include "channels/ChannelLookup.h"
#include "dtvhost/HostError.h"
#include "live/TunedGraph.h"
#include "serve/ServedStream.h"

namespace {
constexpr uint32_t kStartWaitMs = 20;
constexpr const char* kText = "text/plain; charset=utf-8";

void Refuse(httplib::Response& response, int status, const std::string& message) {
  response.status = status;
  response.set_content(message + "\n", kText);
}

std::string UrlHost(const std::string& host) { return host.find(':') != std::string::npos ? "[" + host + "]" : host; }
}  // namespace

ChannelServer::ChannelServer(const PluginSession& session, ChannelList channels, std::string channelsPath)
    : m_session(session), m_channels(std::move(channels)), m_channelsPath(std::move(channelsPath)) {
  if (::pipe2(m_stopPipe, O_CLOEXEC) != 0)
    throw HostError(fmt::format("cannot make a pipe: {}", std::strerror(errno)));
  // httplib's default SO_REUSEPORT would let a second server share a port
  // already taken; SO_REUSEADDR alone still allows a quick restart.
  m_server.set_socket_options([](socket_t sock) {
    const int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  m_server.Get("/playlist.m3u", [this](const httplib::Request& q, httplib::Response& r) { Playlist(q, r); });
  m_server.Get("/epg.xml", [this](const httplib::Request&, httplib::Response& r) {
    r.set_content(m_guide.Xmltv(), "application/xml; charset=utf-8");
  });
  m_server.Get("/stream/(.+)", [this](const httplib::Request& q, httplib::Response& r) { Stream(q, r); });
}

ChannelServer::~ChannelServer() {
  ::close(m_stopPipe[0]);
  ::close(m_stopPipe[1]);
}

int ChannelServer::Bind(const ListenAddress& address) {
  errno = 0;
  const int port = address.port == 0 ? m_server.bind_to_any_port(address.host)
                                     : (m_server.bind_to_port(address.host, address.port) ? address.port : -1);
  if (port < 0) {
    const std::string reason = errno ? std::strerror(errno) : "no such address";
    throw HostError(fmt::format("cannot listen on {}:{}: {}", address.host, address.port, reason));
  }
  m_baseUrl = fmt::format("http://{}:{}/", UrlHost(address.host), port);
  return port;
}

void ChannelServer::Serve() {
  if (!m_stopping.IsSet()) m_server.listen_after_bind();
  m_served.Set();
}

void ChannelServer::Stop() {
  m_stopping.Set();
  const char byte = 0;
  // The byte stays in the pipe: every stream's poll sees it.
  [[maybe_unused]] const ssize_t written = ::write(m_stopPipe[1], &byte, 1);
  // The server closes its socket only once it runs.
  while (!m_server.is_running())
    if (m_served.Wait(kStartWaitMs)) return;
  m_server.stop();
}

void ChannelServer::Playlist(const httplib::Request& request, httplib::Response& response) {
  // A player on another machine reaches us by the name it used.
  const std::string base = request.has_header("Host") ? "http://" + request.get_header_value("Host") + "/" : m_baseUrl;
  std::lock_guard lock(m_pluginMutex);
  response.set_content(M3uText(m_channels, base + "stream/"), "audio/x-mpegurl");
}

void ChannelServer::Stream(const httplib::Request& request, httplib::Response& response) {
  std::shared_ptr<ServedStream> stream;
  std::string label;
  try {
    std::lock_guard lock(m_pluginMutex);
    std::string error;
    const std::optional<size_t> index = FindChannel(m_channels, request.matches[1].str(), m_channelsPath, error);
    if (!index) return Refuse(response, 404, error);
    IKxChannel* channel = m_channels[*index].Get();
    const auto devices = m_session.DevicesFor(channel);
    if (devices.empty()) return Refuse(response, 404, fmt::format("no device receives {}", ChannelLabel(channel)));
    std::unique_ptr<TunerLease> lease = m_tuners.Acquire(devices);
    if (!lease) return Refuse(response, 503, fmt::format("every tuner for {} is busy", ChannelLabel(channel)));
    const std::string tuner = FriendlyNameOf(lease->Device());
    stream = std::make_shared<ServedStream>(std::move(lease), channel, m_stopping, m_guide);
    label = fmt::format("{} on '{}' to {}", ChannelLabel(channel), tuner, request.remote_addr);
  } catch (const std::exception& e) {
    return Refuse(response, 503, e.what());
  }
  response.set_chunked_content_provider(
      "video/mp2t",
      [this, pump = stream.get()](size_t, httplib::DataSink& sink) { return pump->Pump(sink, m_stopPipe[0]); },
      [this, stream, label](bool) mutable {
        {
          // The graph goes with the plug-in lock held, as it came.
          std::lock_guard lock(m_pluginMutex);
          stream.reset();
        }
        fmt::print(stderr, "Stream of {} ended\n", label);
      });
  fmt::print(stderr, "Streaming {}\n", label);
}
