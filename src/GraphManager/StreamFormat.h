#pragma once
// The video and audio formats a decoder pin's connection carries, read from
// the platform's format blocks (VIDEOINFOHEADER2, WAVEFORMATEX).
#include "Channel/KxAudioInfo.h"
#include "Channel/KxVideoInfo.h"
#include "platform/graph/MediaType.h"

constexpr GUID FORMAT_VideoInfo2 = MakeGuid("{F72A76A0-EB0A-11D0-ACE4-0000C0CC16BA}");

// E_INVALIDARG when the type carries no such block or a short one.
HRESULT ReadVideoFormat(const AM_MEDIA_TYPE& type, KxVideoFormat* format);
HRESULT ReadAudioFormat(const AM_MEDIA_TYPE& type, KxAudioFormat* format);
