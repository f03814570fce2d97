#include "DSFilters/PsiRenderer/ChannelsCOM.h"

#include "DSFilters/PsiRenderer/ChannelCOM.h"
#include "DSFilters/PsiRenderer/SnapshotLog.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "ChannelsCOM";
}

CChannelsCOM::CChannelsCOM(std::vector<CChannel> channels) : m_vec(std::move(channels)) {
  log(7, "CChannelsCOM: Ctor(0x%x)", SnapshotAddress(this));
}

CChannelsCOM::~CChannelsCOM() { log(7, "CChannelsCOM: Dtor(0x%x)", SnapshotAddress(this)); }

HRESULT CChannelsCOM::CreateInstance(const std::shared_ptr<CChannels>& channels, IChannels** ppChannels) {
  if (!ppChannels) return E_POINTER;
  *ppChannels = nullptr;
  ComPtr<ComObject<CChannelsCOM>> pObj =
      ComObject<CChannelsCOM>::Make(channels ? channels->Copy() : std::vector<CChannel>());
  if (!pObj) return E_OUTOFMEMORY;
  const HRESULT hr = pObj->QueryInterface(IidOf<IChannels>(), reinterpret_cast<void**>(ppChannels));
  if (FAILED(hr))
    traceFailure(hr, "(hr) = (pObj->QueryInterface(__uuidof(IChannels), reinterpret_cast<void**>(ppChannels)))",
                 kLogFile);
  return hr;
}

HRESULT CChannelsCOM::get_Count(LONG* plCount) {
  if (!plCount) return E_POINTER;
  *plCount = static_cast<LONG>(m_vec.size());
  return S_OK;
}

HRESULT CChannelsCOM::get_Item(LONG lIndex, IChannel** ppItem) {
  if (!ppItem) return E_POINTER;
  if (lIndex < 0 || static_cast<size_t>(lIndex) >= m_vec.size()) return E_INVALIDARG;
  RETURN_IF_FAILED(CChannelCOM::CreateInstance(m_vec[lIndex], ppItem));
  return S_OK;
}
