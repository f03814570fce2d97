#pragma once
// What channel control reads from a host channel: its default streams and
// runs of traced getters.
#include <initializer_list>

#include "interfaces/IKxChannel.h"
#include "interfaces/IKxDevicePlugin.h"

struct KxChannelPids {
  LONG video = 0;
  LONG audio = 0;
  LONG pmt = 0;
  LONG videoType = 0;
  LONG audioType = 0;
  bool ac3 = false;
  // Anything but MPEG-1/2 video is high definition.
  bool HighDefinition() const { return videoType > 0 && videoType != 1 && videoType != 2; }
};

HRESULT ReadDefaultChannelPids(IKxChannel* channel, KxChannelPids* pids);

// An absent PID reads as 0: only 1 to 0x1FFE are elementary streams.
constexpr bool IsElementaryStreamPid(LONG pid) { return pid >= 1 && pid <= 0x1FFE; }

// One getter of the channel, the value it fills and its traced text.
struct ChannelRead {
  HRESULT (IKxChannel::*getter)(LONG*);
  LONG* value;
  const char* text;
};
// Reads in order; the first failure is traced (under `logFile`) and ends the run.
HRESULT ReadChannelValues(IKxChannel* channel, std::initializer_list<ChannelRead> reads, const char* logFile);

// A tune request record with every field unset (-1).
KxDPTuneRequestParam UnsetTuneRequestParam();
