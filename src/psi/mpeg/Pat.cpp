#include "psi/mpeg/Pat.h"

void CPat::Reset() {
  CPsiTable::Reset();
  transport_stream_id = 0xFFFF;
  programs.clear();
}

bool CPat::ParseSection(const uint8_t* data, uint32_t length, uint32_t, uint32_t) {
  CPatSection section;
  if (!section.ParseValidated(data, length)) return false;
  transport_stream_id = section.transport_stream_id;
  programs.insert(programs.end(), section.programs.begin(), section.programs.end());
  return true;
}
