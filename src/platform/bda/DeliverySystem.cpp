#include "platform/bda/DeliverySystem.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/bda/Topology.h"

namespace {
struct Entry {
  DeliverySystem system;
  const char* name;
};
constexpr Entry kNames[] = {
    {DeliverySystem::DvbS, "DVB-S"}, {DeliverySystem::DvbS2, "DVB-S2"},      {DeliverySystem::DvbT, "DVB-T"},
    {DeliverySystem::DvbT2, "DVB-T2"}, {DeliverySystem::DvbC, "DVB-C"}, {DeliverySystem::DvbCAnnexB, "DVB-C/B"},
    {DeliverySystem::Atsc, "ATSC"},
};
}  // namespace

const GUID& DemodulatorNode(DeliverySystem system) {
  switch (system) {
    case DeliverySystem::DvbS:
    case DeliverySystem::DvbS2:
      return KSNODE_BDA_QPSK_DEMODULATOR;
    case DeliverySystem::DvbT:
    case DeliverySystem::DvbT2:
      return KSNODE_BDA_COFDM_DEMODULATOR;
    case DeliverySystem::DvbC:
      return KSNODE_BDA_QAM_DEMODULATOR;
    case DeliverySystem::DvbCAnnexB:
    case DeliverySystem::Atsc:
      break;
  }
  return KSNODE_BDA_8VSB_DEMODULATOR;
}

std::vector<GUID> TunerTopologyNodes(const std::vector<DeliverySystem>& systems) {
  std::vector<GUID> nodes{KSNODE_BDA_RF_TUNER};
  for (DeliverySystem system : systems) {
    const GUID& node = DemodulatorNode(system);
    if (std::find(nodes.begin(), nodes.end(), node) == nodes.end()) nodes.push_back(node);
  }
  return nodes;
}

const char* DeliverySystemName(DeliverySystem system) {
  for (const Entry& e : kNames)
    if (e.system == system) return e.name;
  return "?";
}

std::optional<DeliverySystem> ParseDeliverySystem(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  for (const Entry& e : kNames)
    if (upper == e.name) return e.system;
  return std::nullopt;
}
