#include "psi/atsc/Ett.h"

void CEtt::Reset() {
  CPsiTable::Reset();
  etm_id = 0;
  text = {};
}

bool CEtt::ParseSection(const uint8_t* data, uint32_t length, uint32_t, uint32_t) {
  CEttSection section;
  if (!section.ParseValidated(data, length)) return false;
  etm_id = section.etm_id;
  text = section.text;
  return true;
}
