#pragma once
// Reads the EPG of a recorded transport stream: every EIT section of the
// actual transport stream (ATSC: every EIT and ETT the MGT announces) is
// evaluated as it comes, by a fresh processor as the background EPG does, so
// a long recording keeps the events of every table version.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "DSFilters/PsiRenderer/EpgEvents.h"
#include "DSFilters/PsiRenderer/GpsTime.h"
#include "DSFilters/PsiRenderer/PsiProcessorMgt.h"
#include "psi/ts/PsiSectionSplitter.h"
#include "psi/ts/TsPacketReader.h"

class CTransportStreamEpgReader : private CPsiSectionSplitter {
 public:
  explicit CTransportStreamEpgReader(bool atsc);

  // The events of the stream, in event-list order.
  std::shared_ptr<CEpgEvents> Read(std::span<const uint8_t> stream);
  // The same for a stream read from the start once per pass; a read error
  // ends the pass with the events read so far (see the reader's Error()).
  std::shared_ptr<CEpgEvents> Read(CTsPacketReader& stream);

 private:
  void Run(CTsPacketReader& stream);
  bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) override;

  const bool m_bAtsc;
  const std::shared_ptr<CEpgEvents> m_pEvents = std::make_shared<CEpgEvents>();
  CPsiProcessorMgt m_Mgt;
  std::vector<uint16_t> m_vEitPids;
  std::vector<uint16_t> m_vEttPids;
  int m_nGpsUtcOffset = kDefaultGpsUtcOffset;
};
