#pragma once
// The delivery data of a channel or transponder as a person reads it, in the
// units of its system ("DVB-S 11.362 GHz H 22000 kS/s 19.2°E"), leaving out
// what the stream did not tell.
#include <optional>
#include <string>

#include "DSFilters/PsiRenderer/engine/Channel.h"
#include "DSFilters/PsiRenderer/engine/PsiRendererTypes.h"
#include "DSFilters/PsiRenderer/engine/TransponderFrequency.h"

// Empty when the channel carries no delivery data.
std::string ChannelDeliveryText(const CChannel& channel, std::optional<PsiRenderer_NetworkType> networkType);
std::string TransponderText(const CTransponderFrequency& transponder, std::optional<PsiRenderer_NetworkType> networkType);
