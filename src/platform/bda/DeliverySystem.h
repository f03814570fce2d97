#pragma once
// Delivery systems a tuner receives, and the demodulator node standing for each.
#include <optional>
#include <string_view>
#include <vector>

#include "platform/com/Guid.h"

enum class DeliverySystem { DvbS, DvbS2, DvbT, DvbT2, DvbC, DvbCAnnexB, Atsc };

// The demodulator node function of a delivery system.
const GUID& DemodulatorNode(DeliverySystem system);
// Node functions of a tuner filter receiving `systems`: the RF tuner node,
// then one demodulator node per kind, in the order of `systems`.
std::vector<GUID> TunerTopologyNodes(const std::vector<DeliverySystem>& systems);

const char* DeliverySystemName(DeliverySystem system);
// Reads "DVB-S", "DVB-S2", "DVB-T", "DVB-T2", "DVB-C", "DVB-C/B", "ATSC" (any case).
std::optional<DeliverySystem> ParseDeliverySystem(std::string_view text);
