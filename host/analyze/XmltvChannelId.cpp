#include "analyze/XmltvChannelId.h"

std::string XmltvChannelId(int32_t originalNetworkId, int32_t transportStreamId, int32_t serviceId) {
  if (originalNetworkId == -1) return std::to_string(serviceId) + ".atsc";
  return std::to_string(originalNetworkId) + "." + std::to_string(transportStreamId) + "." +
         std::to_string(serviceId) + ".dvb";
}
