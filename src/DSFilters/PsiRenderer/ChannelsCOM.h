#pragma once
// A snapshot of a channel list: copies of its channels taken at creation.
#include <memory>
#include <vector>
#include "DSFilters/PsiRenderer/engine/Channels.h"
#include "interfaces/IChannel.h"
#include "platform/com/ComObject.h"

class CChannelsCOM : public IChannels {
 public:
  using InterfaceMap = ::InterfaceMap<IChannels>;

  explicit CChannelsCOM(std::vector<CChannel> channels);
  virtual ~CChannelsCOM();

  // A missing list gives an empty snapshot.
  static HRESULT CreateInstance(const std::shared_ptr<CChannels>& channels, IChannels** ppChannels);

  HRESULT get_Count(LONG* plCount) override;
  HRESULT get_Item(LONG lIndex, IChannel** ppItem) override;

  const std::vector<CChannel> m_vec;
};
