#pragma once
// The one feed loop of the offline analysis: reads a recording once, chunk
// by chunk, and hands every section to each collector (channels, guide).
#include <cstdint>
#include <vector>

#include "DSFilters/PsiRenderer/SectionCollector.h"
#include "psi/ts/ChunkSource.h"
#include "psi/ts/PsiSectionSplitter.h"

class CRecordingReader : private CPsiSectionSplitter, private ISectionPids {
 public:
  void Add(ISectionCollector& collector);
  // Reads the source to its end.
  void Read(IChunkSource& source);

  uint64_t Packets() const { return m_nPackets; }
  // Bytes of an incomplete packet at the end.
  uint32_t TrailingBytes() const { return Length(); }

 private:
  void AddPid(uint16_t pid) override { CPsiSectionSplitter::AddPid(pid); }
  void OnPacket(const uint8_t* packet, uint32_t size) override;
  bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) override;
  bool WantsUnregisteredPid(uint16_t pid, uint8_t firstTableId) override;

  std::vector<ISectionCollector*> m_vCollectors;
  uint64_t m_nPackets = 0;
};
