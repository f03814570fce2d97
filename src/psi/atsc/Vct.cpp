#include "psi/atsc/Vct.h"

void CVct::Reset() {
  CPsiTable::Reset();
  transport_stream_id = 0xFFFF;
  channels.clear();
  descriptors.Clear();
}

bool CVct::ParseSection(const uint8_t* data, uint32_t length, uint32_t, uint32_t) {
  CVctSection section;
  if (!section.ParseValidated(data, length)) return false;
  transport_stream_id = section.transport_stream_id;
  descriptors.Append(section.descriptors);
  channels.insert(channels.end(), section.channels.begin(), section.channels.end());
  return true;
}
