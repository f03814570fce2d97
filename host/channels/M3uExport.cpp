#include <fmt/format.h>

#include "analyze/XmltvChannelId.h"
#include "channels/ChannelExports.h"
#include "channels/ChannelProperties.h"
#include "channels/DeliverySystem.h"
#include "platform/com/Utf.h"
#include "psi/text/SafeText.h"

namespace {
// Playlist attributes are quoted and entries end at the line: neither may
// appear inside a name.
std::string PlaylistName(IKxChannel* channel) {
  std::string name = SafeUtf8(Utf8ToUtf16(TextOf(channel, &IKxChannel::get_Title)), TextUse::Line);
  for (char& c : name)
    if (c == '"') c = '\'';
  return name;
}
}  // namespace

std::string XmltvIdOf(IKxChannel* channel) {
  if (NetworkTypeOfChannel(LongOf(channel, &IKxChannel::get_Type)) == PsiRenderer_NetworkType_Atsc)
    return XmltvChannelId(-1, -1, LongOf(channel, &IKxChannel::get_SourceId));
  return XmltvChannelId(LongOf(channel, &IKxChannel::get_NetworkId),
                            LongOf(channel, &IKxChannel::get_TransportStreamId),
                            LongOf(channel, &IKxChannel::get_ServiceId));
}

std::string M3uText(const ChannelList& channels, const std::string& streamUrl) {
  std::string text = "#EXTM3U\n";
  for (size_t i = 0; i < channels.size(); ++i) {
    IKxChannel* channel = channels[i].Get();
    const std::string name = PlaylistName(channel);
    text += fmt::format("#EXTINF:-1 tvg-id=\"{}\" tvg-chno=\"{}\" tvg-name=\"{}\",{}\n{}{}\n", XmltvIdOf(channel), i + 1,
                        name, name, streamUrl, i + 1);
  }
  return text;
}
