#include "channels/ChannelList.h"

#include "Channel/KxChannel.h"

ComPtr<IKxChannel> NewChannel() {
  const auto channel = ComObject<CKxChannel>::Make();
  return channel ? QueryAs<IKxChannel>(channel.Get()) : ComPtr<IKxChannel>();
}
