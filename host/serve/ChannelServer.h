#pragma once
// The stored channels for media players over HTTP: "/playlist.m3u",
// "/stream/CHANNEL" (a transport stream from a free tuner) and "/epg.xml".
#include <httplib.h>

#include <mutex>
#include <string>

#include "channels/ChannelList.h"
#include "live/PluginSession.h"
#include "platform/sync/Event.h"
#include "serve/GuideStore.h"
#include "serve/ListenAddress.h"
#include "serve/TunerPool.h"

class ChannelServer {
 public:
  ChannelServer(const PluginSession& session, ChannelList channels, std::string channelsPath);
  ~ChannelServer();
  ChannelServer(const ChannelServer&) = delete;
  ChannelServer& operator=(const ChannelServer&) = delete;

  // The port now bound (the one chosen when `address` asks for any); HostError when it cannot be.
  int Bind(const ListenAddress& address);
  // The guide /epg.xml starts with; the multiplexes streamed add theirs.
  void SetGuide(LiveGuide guide) { m_guide.Replace(std::move(guide)); }
  // Answers requests until Stop(); every connection and stream is over on return.
  void Serve();
  // From another thread than Serve()'s, once Serve() was called: stops
  // listening and ends the running streams.
  void Stop();

 private:
  void Playlist(const httplib::Request& request, httplib::Response& response);
  void Stream(const httplib::Request& request, httplib::Response& response);

  const PluginSession& m_session;
  const ChannelList m_channels;
  const std::string m_channelsPath;
  GuideStore m_guide;
  std::string m_baseUrl;
  // The plug-in's objects are used by one connection at a time.
  std::mutex m_pluginMutex;
  TunerPool m_tuners;
  Event m_stopping;
  Event m_served;
  int m_stopPipe[2] = {-1, -1};
  httplib::Server m_server;
};
