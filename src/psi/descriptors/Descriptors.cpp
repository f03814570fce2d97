#include "psi/descriptors/Descriptors.h"

#include "psi/descriptors/DescriptorFactory.h"

void CDescriptors::ParseOne(CPsiStream& reader, uint32_t& consumed, DescriptorContext context) {
  if (auto descriptor = CreateDescriptor(reader, consumed, context)) m_vDescriptors.push_back(std::move(descriptor));
}

void CDescriptors::ParseLoop(CPsiStream& reader, uint32_t loopLength, DescriptorContext context) {
  uint32_t read = 0;
  while (read < loopLength) {
    uint32_t consumed = 0;
    ParseOne(reader, consumed, context);
    if (consumed == 0) break;  // data exhausted
    read += consumed;
  }
}

void CDescriptors::Append(const CDescriptors& other) {
  m_vDescriptors.insert(m_vDescriptors.end(), other.m_vDescriptors.begin(), other.m_vDescriptors.end());
}

CDescriptors::Pointer CDescriptors::Get(size_t index) const {
  return index < m_vDescriptors.size() ? m_vDescriptors[index] : Pointer();
}
