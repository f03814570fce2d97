#include "GraphManager/DemoHostChannel.h"

#include <gtest/gtest.h>

#include "GraphManager/DemoChannels.h"
#include "platform/com/Utf.h"

ComPtr<IKxChannel> DemoChannel(const std::string& file, LONG frequencyKHz) {
  auto channel = ComObject<CKxChannel>::Make();
  DescribeDemoChannel(channel.Get(), file, frequencyKHz);
  return ComPtr<IKxChannel>(channel.Get());
}

void DescribeDemoChannel(CKxChannel* channel, const std::string& file, LONG frequencyKHz) {
  DemoService service;
  if (!FirstTvService(file, &service)) {
    ADD_FAILURE() << "no TV service in " << file;
    return;
  }
  channel->put_Type(KxChannelType_DvbtTv);
  channel->put_Title(BStr(Utf8ToUtf16(service.name)).Get());
  channel->put_CarrierFrequency(frequencyKHz);
  channel->put_Bandwidth(8);
  channel->put_NetworkId(service.networkId);
  channel->put_ServiceId(service.serviceId);
  channel->put_TransportStreamId(service.transportStreamId);
  channel->AddVideoPid(service.videoPid, service.videoType);
  channel->AddAudioPid(service.audioPid, service.audioType, u"", service.ac3);
  channel->AddPmtPid(service.pmtPid);
}
