#pragma once
// The channel id of XMLTV documents: "ONID.TSID.SID.dvb" for DVB services,
// "SOURCEID.atsc" for ATSC ones (original network id -1).
#include <cstdint>
#include <string>

std::string XmltvChannelId(int32_t originalNetworkId, int32_t transportStreamId, int32_t serviceId);
