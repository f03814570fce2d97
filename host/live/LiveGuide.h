#pragma once
// The programme guide received live, in the analysis's own event list and
// channel list, so that text, XMLTV and JSON come from the same writers as
// for a recording.
#include <memory>

#include "DSFilters/PsiRenderer/engine/Channels.h"
#include "DSFilters/PsiRenderer/engine/EpgEvents.h"
#include "channels/ChannelList.h"
#include "interfaces/IKxEpgEvents.h"

struct LiveGuide {
  std::shared_ptr<CEpgEvents> events = std::make_shared<CEpgEvents>();
  std::shared_ptr<CChannels> channels = std::make_shared<CChannels>();

  // Adds the events the plug-in handed over; a newer copy of an event replaces the older.
  void AddEvents(IKxEpgEvents* received);
  void AddChannels(const ChannelList& stored);
};

// The seconds since the epoch (UTC) of a local-time DATE.
int64_t LocalDateToUtcSeconds(DATE date);
