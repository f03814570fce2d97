#pragma once
// Builds descriptor bytes and parses single descriptors for tests.
#include <cstdint>
#include <memory>
#include <vector>

#include "psi/descriptors/DescriptorFactory.h"

namespace psitest {

// tag, descriptor_length, body.
inline std::vector<uint8_t> Descriptor(uint8_t tag, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> out = {tag, static_cast<uint8_t>(body.size())};
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// Parses one descriptor from bytes; throws CPsiStreamException like the factory.
template <typename T = CDescriptor>
std::shared_ptr<T> ParseDescriptor(const std::vector<uint8_t>& bytes, DescriptorContext context = DescriptorContext_Dvb) {
  CPsiStream reader(bytes.data(), bytes.size());
  uint32_t consumed = 0;
  return std::dynamic_pointer_cast<T>(CreateDescriptor(reader, consumed, context));
}

}  // namespace psitest
