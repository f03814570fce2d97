#include "psi/descriptors/Descriptors.h"

#include "psi/descriptors/DescriptorFactory.h"

const std::shared_ptr<const CDescriptor>& CDescriptorEntry::Decoded() const {
  if (!m_bDecoded) {
    m_bDecoded = true;
    try {
      m_pDecoded = DecodeDescriptor(tag, length, m_pBody, m_context);
    } catch (const CPsiStreamException&) {
      m_pDecoded.reset();  // a malformed body is no descriptor of its class
    }
  }
  return m_pDecoded;
}

void CDescriptors::ParseLoop(CPsiStream& reader, uint32_t loopLength, DescriptorContext context) {
  // One pass for the structure, where a cut-short descriptor throws; the
  // bytes are then copied once and indexed.
  const uint8_t* start = nullptr;
  size_t size = 0;
  for (uint32_t read = 0; read < loopLength && reader.Remaining() != 0;) {
    const uint8_t* header = reader.ReadBytes(2);
    reader.ReadBytes(header[1]);
    if (!start) start = header;
    size += header[1] + 2u;
    read += header[1] + 2u;
  }
  if (size == 0 || !IsDecodableContext(context)) return;
  auto loop = std::make_shared<Loop>();
  loop->bytes.assign(start, start + size);
  for (size_t pos = 0; pos < size; pos += loop->bytes[pos + 1] + 2u)
    loop->entries.emplace_back(loop->bytes[pos], loop->bytes[pos + 1], loop->bytes.data() + pos + 2, context);
  m_nCount += loop->entries.size();
  m_vLoops.push_back(std::move(loop));
}

void CDescriptors::Append(const CDescriptors& other) {
  m_vLoops.insert(m_vLoops.end(), other.m_vLoops.begin(), other.m_vLoops.end());
  m_nCount += other.m_nCount;
}

void CDescriptors::Clear() {
  m_vLoops.clear();
  m_nCount = 0;
}

CDescriptors::Pointer CDescriptors::Get(size_t index) const {
  for (const auto& loop : m_vLoops) {
    if (index < loop->entries.size()) return loop->entries[index].Decoded();
    index -= loop->entries.size();
  }
  return {};
}
