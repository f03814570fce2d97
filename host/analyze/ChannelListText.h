#pragma once
// The analysed channel list for people: one block per channel.
#include <ostream>

#include "DSFilters/PsiRenderer/engine/TransportStreamAnalyzer.h"

void WriteChannelListText(std::ostream& out, const TransportStreamAnalysis& analysis);
