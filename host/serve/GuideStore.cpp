#include "serve/GuideStore.h"

#include <sstream>

#include "analyze/EpgOutput.h"

void GuideStore::Replace(LiveGuide guide) {
  std::lock_guard lock(m_mutex);
  m_guide = std::move(guide);
}

void GuideStore::AddEvents(IKxEpgEvents* received) {
  std::lock_guard lock(m_mutex);
  m_guide.AddEvents(received);
}

std::string GuideStore::Xmltv() {
  std::lock_guard lock(m_mutex);
  std::ostringstream xmltv;
  WriteXmltv(*m_guide.events, *m_guide.channels, xmltv);
  return xmltv.str();
}
