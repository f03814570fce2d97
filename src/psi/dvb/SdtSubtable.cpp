#include "psi/dvb/SdtSubtable.h"

void CSdtSubtable::Reset() {
  CPsiTable::Reset();
  transport_stream_id = 0;
  original_network_id = 0;
  services.clear();
}

bool CSdtSubtable::ParseSection(const uint8_t* data, uint32_t length, uint32_t, uint32_t) {
  CSdtSection section;
  if (!section.ParseValidated(data, length)) return false;
  transport_stream_id = section.transport_stream_id;
  original_network_id = section.original_network_id;
  services.insert(services.end(), section.services.begin(), section.services.end());
  return true;
}
