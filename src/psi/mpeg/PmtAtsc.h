#pragma once
// A program map table read with ATSC descriptors.
#include "psi/mpeg/Pmt.h"

class CPmtAtsc : public CPmt {
 public:
  CPmtAtsc() : CPmt(DescriptorContext_Atsc) {}
};
