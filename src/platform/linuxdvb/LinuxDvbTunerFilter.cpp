#include "platform/linuxdvb/LinuxDvbTunerFilter.h"

CLinuxDvbTunerFilter::CLinuxDvbTunerFilter(LinuxDvbFrontend frontend)
    : CBdaTopology(TunerTopologyNodes(frontend.systems)), m_frontend(std::move(frontend)) {}

HRESULT CLinuxDvbTunerFilter::Create(const std::string& path, IUnknown** filter) {
  if (!filter) return E_POINTER;
  *filter = nullptr;
  auto frontend = QueryFrontend(path, CurrentFrontendIo());
  if (!frontend) return E_FAIL;
  return ComObject<CLinuxDvbTunerFilter>::CreateAndQuery(filter, std::move(*frontend));
}
