#pragma once
// A stored channel as the analysis's channel record, so that the stored list
// and a recording's channels are printed by the same writers.
#include "DSFilters/PsiRenderer/engine/Channel.h"
#include "interfaces/IKxChannel.h"

CChannel ChannelRecordOf(IKxChannel* channel);
