#pragma once
// The EIT sections of one service.
#include <map>
#include <vector>

#include "psi/dvb/EitDvbSection.h"
#include "psi/ts/PsiTable.h"

class CEitDvbSubtable : public CPsiTable {
 public:
  void Reset() override;
  // EIT sections come in segments of eight, each ending at its
  // segment_last_section_number; the numbers after it in the segment are
  // never sent. Complete when every segment up to last_section_number is.
  bool IsComplete() const override;

  uint16_t service_id = 0;
  uint16_t transport_stream_id = 0;
  uint16_t original_network_id = 0;
  std::vector<EitDvbEvent> events;
  // Index in events of the first event of the section parsed last.
  size_t last_section_first_event = 0;
  // The last table_id that carries this service's events of the same kind.
  uint8_t last_table_id = 0;

 protected:
  bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;

 private:
  std::map<int32_t, int32_t> m_segmentLast;  // first section of a segment -> its last
};
