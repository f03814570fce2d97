#include "psi/mpeg/Pmt.h"

void CPmt::Reset() {
  CPsiTable::Reset();
  program_number = 0xFFFF;
  pcr_pid = 0xFFFF;
  streams.clear();
  descriptors.Clear();
}

bool CPmt::ParseSection(const uint8_t* data, uint32_t length, uint32_t, uint32_t) {
  CPmtSection section(context);
  if (!section.ParseValidated(data, length)) return false;
  program_number = section.program_number;
  pcr_pid = section.pcr_pid;
  descriptors.Append(section.descriptors);
  streams.insert(streams.end(), section.streams.begin(), section.streams.end());
  return true;
}
