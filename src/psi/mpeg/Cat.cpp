#include "psi/mpeg/Cat.h"

void CCat::Reset() {
  CPsiTable::Reset();
  descriptors.Clear();
}

bool CCat::ParseSection(const uint8_t* data, uint32_t length, uint32_t, uint32_t) {
  CCatSection section(context);
  if (!section.ParseValidated(data, length)) return false;
  descriptors.Append(section.descriptors);
  return true;
}
