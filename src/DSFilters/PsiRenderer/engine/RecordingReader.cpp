#include "DSFilters/PsiRenderer/engine/RecordingReader.h"

void CRecordingReader::Add(ISectionCollector& collector) {
  m_vCollectors.push_back(&collector);
  collector.Attach(*this);
}

void CRecordingReader::Read(IChunkSource& source) {
  for (std::span<const uint8_t> chunk = source.NextChunk(); !chunk.empty(); chunk = source.NextChunk())
    Push(chunk.data(), static_cast<uint32_t>(chunk.size()));
}

bool CRecordingReader::OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) {
  for (ISectionCollector* collector : m_vCollectors) collector->OnSection(data, totalLength, pid, tableId);
  return true;
}

bool CRecordingReader::WantsUnregisteredPid(uint16_t, uint8_t firstTableId) {
  for (const ISectionCollector* collector : m_vCollectors)
    if (collector->WantsUnknownPid(firstTableId)) return true;
  return false;
}
