#pragma once
// Keys of the graph manager's filter table.
#include "platform/com/Types.h"

enum KxFilterRole : LONG {
  KxFLTVideoSource = 0,
  KxFLTVideoRenderer = 2,
  KxFLTMpeg2Demux = 11,
  KxFLTNetworkProvider = 12,
  KxFLTNetworkTuner = 13,
  KxFLTNetworkReceiver = 14,
  KxFLTMpegPsiReader = 16,
  KxFLTTransportStreamSink = 18,
  KxFLTVTestFilter = 25,
  KxFLTTsBlocker = 29,
};
