#pragma once
// The programme guide a server hands out: collected at start, added to by
// the multiplexes it streams, read by any connection.
#include <mutex>
#include <string>

#include "live/LiveGuide.h"

class GuideStore {
 public:
  void Replace(LiveGuide guide);
  void AddEvents(IKxEpgEvents* received);
  std::string Xmltv();

 private:
  std::mutex m_mutex;
  LiveGuide m_guide;
};
