#pragma once
// The graph manager of DVB-T, DVB-C and ATSC devices.
#include "GraphManager/KxGraphManagerDigitalBase.h"

class CKxGraphManagerDigital : public CKxGraphManagerDigitalBase {
 public:
  ~CKxGraphManagerDigital() override { DeleteGraph(); }
};
