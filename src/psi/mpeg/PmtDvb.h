#pragma once
// A program map table read with DVB descriptors.
#include "psi/mpeg/Pmt.h"

class CPmtDvb : public CPmt {
 public:
  CPmtDvb() : CPmt(DescriptorContext_Dvb) {}
};
