#pragma once
// The EIT sections of one service.
#include <vector>

#include "psi/dvb/EitDvbSection.h"
#include "psi/ts/PsiTable.h"

class CEitDvbSubtable : public CPsiTable {
 public:
  void Reset() override;

  uint16_t service_id = 0;
  uint16_t transport_stream_id = 0;
  uint16_t original_network_id = 0;
  std::vector<EitDvbEvent> events;
  // Index in events of the first event of the section parsed last.
  size_t last_section_first_event = 0;

 protected:
  bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
};
