#include "Channel/StreamInfoFilling.h"

#include "logging/LogFile.h"
#include "platform/graph/Formats.h"

namespace {
constexpr const char* kLogFile = "DirectShowHelper_Formats";
}

HRESULT FillVideoInfo(IPin* pPin, CKxVideoInfo* info) {
  if (!pPin || !info) return E_POINTER;
  AM_MEDIA_TYPE mt;
  const HRESULT hr = pPin->ConnectionMediaType(&mt);
  if (FAILED(hr)) {
    traceFailure(hr, "(hr) = (pPin->ConnectionMediaType(&mt))", kLogFile);
    return hr;
  }
  VideoFormat format;
  if (!VideoFormatOf(mt, &format)) return S_FALSE;
  info->SetFormat({format.frameDuration, format.width, format.height, format.aspectX, format.aspectY});
  return S_OK;
}

HRESULT FillAudioInfo(IPin* pAudioPin, CKxAudioInfo* info) {
  if (!pAudioPin || !info) return E_POINTER;
  AM_MEDIA_TYPE mediaType;
  const HRESULT hr = pAudioPin->ConnectionMediaType(&mediaType);
  if (FAILED(hr)) {
    traceFailure(hr, "(hr) = (pAudioPin->ConnectionMediaType(&mediaType))", kLogFile);
    return hr;
  }
  WAVEFORMATEX wave;
  if (!ReadFormat(mediaType, FORMAT_WaveFormatEx, &wave)) return S_OK;
  info->SetFormat({static_cast<LONG>(wave.nAvgBytesPerSec), wave.nChannels, static_cast<LONG>(wave.nSamplesPerSec),
                   wave.wBitsPerSample});
  return S_OK;
}
