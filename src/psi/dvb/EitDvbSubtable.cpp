#include "psi/dvb/EitDvbSubtable.h"

#include <iterator>

void CEitDvbSubtable::Reset() {
  CPsiTable::Reset();
  service_id = 0;
  transport_stream_id = 0;
  original_network_id = 0;
  events.clear();
  last_section_first_event = 0;
}

bool CEitDvbSubtable::ParseSection(const uint8_t* data, uint32_t length, uint32_t, uint32_t) {
  CEitDvbSection section;
  if (!section.ParseValidated(data, length)) return false;
  service_id = section.service_id;
  transport_stream_id = section.transport_stream_id;
  original_network_id = section.original_network_id;
  last_section_first_event = events.size();
  events.insert(events.end(), std::make_move_iterator(section.events.begin()),
                std::make_move_iterator(section.events.end()));
  return true;
}
