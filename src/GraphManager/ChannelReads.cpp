#include "GraphManager/ChannelReads.h"

#include <cstring>

#include "Channel/KxChannel.h"
#include "logging/LogFile.h"

HRESULT ReadDefaultChannelPids(IKxChannel* channel, KxChannelPids* pids) {
  return CKxChannel::GetDefaultChannelPids(channel, &pids->video, &pids->audio, &pids->pmt, &pids->videoType,
                                           &pids->audioType, &pids->ac3);
}

HRESULT ReadChannelValues(IKxChannel* channel, std::initializer_list<ChannelRead> reads, const char* logFile) {
  for (const ChannelRead& read : reads) {
    const HRESULT hr = (channel->*read.getter)(read.value);
    if (FAILED(hr)) {
      traceFailure(hr, read.text, logFile);
      return hr;
    }
  }
  return S_OK;
}

KxDPTuneRequestParam UnsetTuneRequestParam() {
  KxDPTuneRequestParam param;
  // Every byte 0xFF: -1 in each 32-bit field.
  std::memset(&param, 0xFF, sizeof param);
  return param;
}
