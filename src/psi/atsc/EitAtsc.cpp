#include "psi/atsc/EitAtsc.h"

void CEitAtsc::Reset() {
  CPsiTable::Reset();
  source_id = 0xFFFF;
  events.clear();
}

bool CEitAtsc::ParseSection(const uint8_t* data, uint32_t length, uint32_t, uint32_t) {
  CEitAtscSection section;
  if (!section.ParseValidated(data, length)) return false;
  source_id = section.source_id;
  events.insert(events.end(), section.events.begin(), section.events.end());
  return true;
}
