#pragma once
// The delivery system a stored channel is received on, told by its channel type.
#include <optional>

#include "DSFilters/PsiRenderer/engine/PsiRendererTypes.h"
#include "platform/com/Types.h"

std::optional<PsiRenderer_NetworkType> NetworkTypeOfChannel(LONG channelType);
// "DVB-T", "DVB-C", "DVB-S", "ATSC"; "-" when the type does not tell.
const char* DeliverySystemName(std::optional<PsiRenderer_NetworkType> system);
// The channel type of a service: TV, radio, or 0 for other services.
LONG ChannelTypeOf(PsiRenderer_NetworkType system, int32_t serviceType);
