#include "psi/dvb/EitDvbSubtable.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr int32_t kSectionsPerSegment = 8;
}

void CEitDvbSubtable::Reset() {
  CPsiTable::Reset();
  service_id = 0;
  transport_stream_id = 0;
  original_network_id = 0;
  events.clear();
  last_section_first_event = 0;
  last_table_id = 0;
  m_segmentLast.clear();
}

bool CEitDvbSubtable::IsComplete() const {
  const int32_t last = LastSectionNumber();
  if (last < 0) return false;
  for (int32_t first = 0; first <= last; first += kSectionsPerSegment) {
    const auto segment = m_segmentLast.find(first);
    if (segment == m_segmentLast.end()) return false;
    for (int32_t s = first; s <= segment->second; ++s)
      if (!HasSection(s)) return false;
  }
  return true;
}

bool CEitDvbSubtable::ParseSection(const uint8_t* data, uint32_t length, uint32_t, uint32_t) {
  CEitDvbSection section;
  if (!section.ParseValidated(data, length)) return false;
  const int32_t number = data[6], first = number - number % kSectionsPerSegment;
  // A segment ends within itself and within the sub-table, whatever a broadcaster writes.
  const int32_t end = std::max<int32_t>(number, std::min<int32_t>(first + kSectionsPerSegment - 1, data[7]));
  m_segmentLast[first] = std::clamp<int32_t>(section.segment_last_section_number, number, end);
  last_table_id = section.last_table_id;
  service_id = section.service_id;
  transport_stream_id = section.transport_stream_id;
  original_network_id = section.original_network_id;
  last_section_first_event = events.size();
  events.insert(events.end(), std::make_move_iterator(section.events.begin()),
                std::make_move_iterator(section.events.end()));
  return true;
}
