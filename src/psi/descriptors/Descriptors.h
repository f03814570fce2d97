#pragma once
// The descriptors of one descriptor loop, in loop order. Descriptors are
// shared when one table appends the loop of another.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/DescriptorContext.h"

class CDescriptors {
 public:
  using Pointer = std::shared_ptr<const CDescriptor>;

  // Reads one descriptor and appends it when the factory yields one. consumed
  // receives its size including tag and length bytes; it stays 0 at the end of the data.
  void ParseOne(CPsiStream& reader, uint32_t& consumed, DescriptorContext context);
  // Reads a descriptor loop of loopLength bytes; it also ends when the data does.
  void ParseLoop(CPsiStream& reader, uint32_t loopLength, DescriptorContext context);

  void Append(const CDescriptors& other);
  void Clear() { m_vDescriptors.clear(); }

  size_t Count() const { return m_vDescriptors.size(); }
  // Empty when index is not below Count().
  Pointer Get(size_t index) const;

  auto begin() const { return m_vDescriptors.begin(); }
  auto end() const { return m_vDescriptors.end(); }

 private:
  std::vector<Pointer> m_vDescriptors;
};
