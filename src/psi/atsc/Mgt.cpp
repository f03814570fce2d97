#include "psi/atsc/Mgt.h"

void CMgt::Reset() {
  CPsiTable::Reset();
  tables.clear();
}

bool CMgt::ParseSection(const uint8_t* data, uint32_t length, uint32_t, uint32_t) {
  CMgtSection section;
  if (!section.ParseValidated(data, length)) return false;
  tables.insert(tables.end(), section.tables.begin(), section.tables.end());
  return true;
}
