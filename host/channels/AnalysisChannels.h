#pragma once
// Channel objects for the services an analysed recording carries, filled as
// a scan fills them, with the delivery data the stream's NIT gives.
#include "DSFilters/PsiRenderer/engine/TransportStreamAnalyzer.h"
#include "channels/ChannelList.h"

ChannelList ChannelsFromAnalysis(const TransportStreamAnalysis& analysis);
