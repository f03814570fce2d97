#include "StoredChannels.h"

#include "channels/ChannelFile.h"
#include "dtvhost/HostError.h"

ChannelList LoadStoredChannels(const std::string& path) {
  ChannelList channels;
  std::string error;
  if (!LoadChannelFile(path, channels, error)) throw HostError(error);
  return channels;
}

void SaveStoredChannels(const std::string& path, const ChannelList& channels) {
  std::string error;
  if (!SaveChannelFile(path, channels, error)) throw HostError(error);
}
