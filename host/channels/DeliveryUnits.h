#pragma once
// The analysis keeps delivery data as the descriptors code it (cable and
// terrestrial frequencies in 10 Hz, modulation codes of the descriptor); a
// stored channel keeps it as tuners take it (kHz, the driver model's
// modulation values). These convert both ways.
#include <optional>

#include "DSFilters/PsiRenderer/engine/PsiRendererTypes.h"
#include "platform/com/Types.h"

LONG FrequencyKhz(int32_t descriptorFrequency, std::optional<PsiRenderer_NetworkType> system);
int32_t DescriptorFrequency(LONG khz, std::optional<PsiRenderer_NetworkType> system);
LONG BdaModulation(int32_t descriptorCode, std::optional<PsiRenderer_NetworkType> system);
int32_t DescriptorModulation(LONG bdaModulation, std::optional<PsiRenderer_NetworkType> system);
