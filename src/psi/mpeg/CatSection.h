#pragma once
// One section of the conditional access table.
#include "psi/descriptors/Descriptors.h"
#include "psi/ts/PsiSection.h"

class CCatSection : public CPsiSection {
 public:
  explicit CCatSection(DescriptorContext descriptorContext) : context(descriptorContext) {}
  bool Parse(const uint8_t* data, uint32_t length) override;

  DescriptorContext context;
  CDescriptors descriptors;
};
