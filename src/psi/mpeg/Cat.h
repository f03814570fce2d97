#pragma once
// The conditional access table. Its descriptors are read as plain MPEG, so CA
// descriptors stay generic (tag and length).
#include "psi/mpeg/CatSection.h"
#include "psi/ts/PsiTable.h"

class CCat : public CPsiTable {
 public:
  void Reset() override;

  const DescriptorContext context = DescriptorContext_Mpeg;
  CDescriptors descriptors;  // all sections' descriptors in arrival order

 protected:
  bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
};
