#pragma once
// Base of the processors that write into a channel list. Writes happen under
// the list's lock so that snapshots never see a half-written channel.
#include <memory>
#include <utility>
#include "DSFilters/PsiRenderer/engine/Channels.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorBase.h"
#include "psi/ts/PsiTable.h"

class CPsiChannelProcessor : public CPsiProcessorBase {
 public:
  CPsiChannelProcessor(std::shared_ptr<CChannels> channels, PsiRenderer_NetworkType networkType,
                       std::shared_ptr<CTransponderFrequencies> frequencies = nullptr)
      : CPsiProcessorBase(networkType, std::move(frequencies)), m_pChannels(std::move(channels)) {}

 protected:
  // The pattern of the single-table processors: a complete table is evaluated
  // once, on the section that completes it.
  template <typename TTable>
  int ProcessTableSection(TTable& table, const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) {
    if (table.IsComplete()) return 1;
    if (table.AddValidSection(data, length, pid, tableId) == TableAddResult::Invalid) return 0;
    if (!table.IsComplete()) return 1;
    AutoLock lock(m_pChannels->Lock());
    Evaluate();
    return 1;
  }
  // Writes the complete table into the channel list; called with the list locked.
  virtual void Evaluate() {}

  const std::shared_ptr<CChannels> m_pChannels;
};
