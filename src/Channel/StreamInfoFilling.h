#pragma once
// Fills the video and audio information of the running decoders from the
// connection media type of their output pins.
#include "Channel/KxAudioInfo.h"
#include "Channel/KxVideoInfo.h"
#include "platform/graph/GraphInterfaces.h"

// A media type without a video format leaves `info` at zero: S_FALSE.
HRESULT FillVideoInfo(IPin* pPin, CKxVideoInfo* info);
// Only a wave format with its block is copied; anything else leaves zeros.
HRESULT FillAudioInfo(IPin* pAudioPin, CKxAudioInfo* info);
