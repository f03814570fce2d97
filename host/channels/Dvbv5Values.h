#pragma once
// libdvbv5's names of delivery systems, modulations, polarisations and code
// rates, and the numbers stored channels and tuning data keep for them.
#include <optional>
#include <string>

#include "DSFilters/PsiRenderer/engine/PsiRendererTypes.h"
#include "platform/com/Types.h"

// "DVBT", "DVBC/ANNEX_A", "DVBS", "DVBS2", "ATSC".
std::string Dvbv5DeliverySystem(PsiRenderer_NetworkType system, LONG bdaModulation);
std::optional<PsiRenderer_NetworkType> NetworkTypeOfDvbv5(const std::string& deliverySystem);

// Nothing for a value libdvbv5 has no name for.
std::optional<std::string> Dvbv5Modulation(LONG bdaModulation);
LONG BdaModulationOfDvbv5(const std::string& name);  // -1 when unknown
std::optional<std::string> Dvbv5Polarisation(LONG bdaPolarisation);
LONG BdaPolarisationOfDvbv5(const std::string& name);
// The code rates of tuning data ("3/4" is 3); the text is the same in both.
std::optional<std::string> CodeRateText(LONG code);
LONG CodeRateOfText(const std::string& text);
