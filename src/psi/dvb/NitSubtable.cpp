#include "psi/dvb/NitSubtable.h"

void CNitSubtable::Reset() {
  CPsiTable::Reset();
  network_id = 0;
  descriptors.Clear();
  transport_streams.clear();
}

bool CNitSubtable::ParseSection(const uint8_t* data, uint32_t length, uint32_t, uint32_t) {
  CNitSection section;
  if (!section.ParseValidated(data, length)) return false;
  network_id = section.network_id;
  descriptors.Append(section.descriptors);
  transport_streams.insert(transport_streams.end(), section.transport_streams.begin(), section.transport_streams.end());
  return true;
}
