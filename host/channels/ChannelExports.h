#pragma once
// The stored channels in the files other programs read: an M3U playlist
// (media players, media centres' M3U tuners), VDR's channels.conf and the
// channel part of an XMLTV guide.
#include <string>

#include "channels/ChannelList.h"

// "ONID.TSID.SID.dvb" or "SOURCEID.atsc", as in dtv's XMLTV guides.
std::string XmltvIdOf(IKxChannel* channel);

// Each channel's entry points to `streamUrl` followed by its number.
std::string M3uText(const ChannelList& channels, const std::string& streamUrl);
std::string XmltvChannelsText(const ChannelList& channels);
// Channels whose delivery system is unknown are left out; `skipped` counts them.
std::string VdrChannelsText(const ChannelList& channels, size_t& skipped);
