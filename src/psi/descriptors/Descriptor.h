#pragma once
// Base of every descriptor class, and the class of every descriptor whose
// tag the factory does not decode (tag and length only).
#include <cstdint>
#include <vector>

#include "psi/ts/PsiStream.h"

class CDescriptor {
 public:
  CDescriptor(uint8_t descriptorTag, uint8_t descriptorLength) : tag(descriptorTag), length(descriptorLength) {}
  virtual ~CDescriptor() = default;
  CDescriptor(const CDescriptor&) = delete;
  CDescriptor& operator=(const CDescriptor&) = delete;

  // Reads the body from a reader holding exactly `length` bytes; the base skips it.
  virtual void Parse(CPsiStream& reader);

  const uint8_t tag;
  const uint32_t length;  // descriptor_length, the body size

 protected:
  // Fixed-size entries fill the body; a body ending inside an entry throws.
  template <typename TEntry, typename TRead>
  void ReadEntries(CPsiStream& reader, uint32_t entrySize, std::vector<TEntry>& entries, TRead readEntry) {
    entries.clear();
    for (uint32_t read = 0; read < length; read += entrySize) entries.push_back(readEntry(reader));
  }
};
