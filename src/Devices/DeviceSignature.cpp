#include "Devices/DeviceSignature.h"

#include "platform/linuxdvb/FrontendEnumeration.h"

namespace {
std::string SystemsText(const std::vector<DeliverySystem>& systems) {
  std::string text;
  for (DeliverySystem system : systems) text += (text.empty() ? "" : ",") + std::string(DeliverySystemName(system));
  return text;
}
}  // namespace

std::string DeviceSignatures::Of(const std::string& moniker) {
  std::string path, id;
  if (ParseVirtualMoniker(moniker, path, id)) {
    auto [entry, added] = m_descriptions.try_emplace(path);
    if (added) {
      std::string error;
      entry->second = LoadVirtualDescription(path, error);
    }
    if (!entry->second) return "";
    for (const VirtualTuner& tuner : entry->second->tuners)
      if (tuner.id == id) return tuner.system ? DeliverySystemName(*tuner.system) : "none";
    return "";
  }
  if (const auto frontend = QueryFrontend(moniker, CurrentFrontendIo()))
    return frontend->name + ";" + SystemsText(frontend->systems);
  return "";
}
