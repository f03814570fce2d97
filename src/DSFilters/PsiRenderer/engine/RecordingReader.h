#pragma once
// The one feed loop of the offline analysis: reads a recording once, chunk
// by chunk, and hands every section to each collector (channels, guide).
#include <cstdint>
#include <vector>

#include "DSFilters/PsiRenderer/engine/SectionCollector.h"
#include "psi/ts/ChunkSource.h"
#include "psi/ts/PsiSectionSplitter.h"

class CRecordingReader : private CPsiSectionSplitter, private ISectionPids {
 public:
  CRecordingReader() { LookAtUnregisteredPids(); }
  void Add(ISectionCollector& collector);
  // Reads the source to its end.
  void Read(IChunkSource& source);

  uint64_t Packets() const { return PacketCount(); }
  // Bytes of an incomplete packet at the end.
  uint32_t TrailingBytes() const { return Length(); }

 private:
  void AddPid(uint16_t pid) override { CPsiSectionSplitter::AddPid(pid); }
  bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) override;
  bool WantsUnregisteredPid(uint16_t pid, uint8_t firstTableId) override;

  std::vector<ISectionCollector*> m_vCollectors;
};
