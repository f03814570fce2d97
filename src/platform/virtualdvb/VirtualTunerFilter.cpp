#include "platform/virtualdvb/VirtualTunerFilter.h"

#include "logging/LogFile.h"

namespace {
std::vector<DeliverySystem> Systems(const VirtualTuner& tuner) {
  if (!tuner.system) return {};
  return {*tuner.system};
}
}  // namespace

CVirtualTunerFilter::CVirtualTunerFilter(VirtualTuner tuner)
    : CBdaTopology(TunerTopologyNodes(Systems(tuner))), m_tuner(std::move(tuner)) {}

HRESULT CVirtualTunerFilter::Create(const std::string& moniker, IUnknown** filter) {
  if (!filter) return E_POINTER;
  *filter = nullptr;
  std::string path, id, error;
  if (!ParseVirtualMoniker(moniker, path, id)) return E_INVALIDARG;
  const auto description = LoadVirtualDescription(path, error);
  if (!description) {
    log(1, "Virtual tuner description not loaded: %s", error.c_str());
    return E_FAIL;
  }
  for (const VirtualTuner& tuner : description->tuners)
    if (tuner.id == id) return ComObject<CVirtualTunerFilter>::CreateAndQuery(filter, tuner);
  log(1, "Virtual tuner %s not found in %s", id.c_str(), path.c_str());
  return E_FAIL;
}
