#pragma once
// content_descriptor (tag 0x54): genre classification of an event.
#include <vector>

#include "psi/descriptors/Descriptor.h"

struct ContentEntry {
  uint8_t content_nibble_level_1 = 0;
  uint8_t content_nibble_level_2 = 0;
  uint8_t user_byte = 0;
};

class CContentDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  std::vector<ContentEntry> entries;
};
