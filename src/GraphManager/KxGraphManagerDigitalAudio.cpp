// Audio properties: the input mixer of the audio source (ids 1-7) and the
// graph's volume and balance (ids 8, 9), which its audio renderer carries.
#include "GraphManager/KxGraphManagerDigitalBase.h"
#include "logging/LogFile.h"
#include "platform/graph/BasicAudio.h"

namespace {
static constexpr const char* kLogFile = "KxGraphManagerDigitalBase";
constexpr LONG kAudioSourceRole = 1;
constexpr LONG kAudioRendererRole = 3;

bool IsMixerProperty(LONG id) { return id >= KxAudioProperty_Enable && id <= KxAudioProperty_Bass; }
bool IsBasicAudioProperty(LONG id) { return id == KxAudioProperty_Volume || id == KxAudioProperty_Balance; }
}  // namespace

HRESULT CKxGraphManagerDigitalBase::AudioInputMixer() {
  // The mixer is the input pin's of an audio source filter, which digital
  // graphs have not; nor has this platform an input mixer interface.
  const auto source = m_flts.find(kAudioSourceRole);
  if (source == m_flts.end() || !source->second) return E_POINTER;
  return E_NOINTERFACE;
}

HRESULT CKxGraphManagerDigitalBase::BasicAudioProperty(LONG id, bool write, LONG* value) {
  const auto renderer = m_flts.find(kAudioRendererRole);
  if (!m_pGraphBuilder || renderer == m_flts.end() || !renderer->second) return E_NOINTERFACE;
  ComPtr<IBasicAudio> pBasicAudio = QueryAs<IBasicAudio>(renderer->second.Get());
  if (!pBasicAudio) return E_NOINTERFACE;
  HRESULT hr;
  if (id == KxAudioProperty_Volume && write) {
    hr = pBasicAudio->put_Volume(*value);
    traceFailure(hr, "(hr) = (pBasicAudio->put_Volume(lValue))", kLogFile);
  } else if (id == KxAudioProperty_Volume) {
    hr = pBasicAudio->get_Volume(value);
    traceFailure(hr, "(hr) = (pBasicAudio->get_Volume(&lValue))", kLogFile);
  } else if (write) {
    hr = pBasicAudio->put_Balance(*value);
    traceFailure(hr, "(hr) = (pBasicAudio->put_Balance(lValue))", kLogFile);
  } else {
    hr = pBasicAudio->get_Balance(value);
    traceFailure(hr, "(hr) = (pBasicAudio->get_Balance(&lValue))", kLogFile);
  }
  return hr;
}

HRESULT CKxGraphManagerDigitalBase::get_IsAudioPropertySupported(LONG id, VARIANT_BOOL* supported) {
  if (!supported) return E_POINTER;
  AutoLock lock(m_graphLock);
  *supported = VARIANT_FALSE;
  if (IsMixerProperty(id)) *supported = ToVariantBool(SUCCEEDED(AudioInputMixer()));
  if (IsBasicAudioProperty(id)) *supported = VARIANT_TRUE;
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::put_AudioInputIndex(LONG index) {
  AutoLock lock(m_graphLock);
  m_lAudioInputIndex = index;
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::get_AudioPropertyRange(LONG id, LONG* min, LONG* max, LONG* step) {
  if (!min || !max || !step) return E_POINTER;
  AutoLock lock(m_graphLock);
  *min = *max = *step = 0;
  switch (id) {
    case KxAudioProperty_Enable:
    case KxAudioProperty_Mono:
    case KxAudioProperty_Loudness: *min = 0, *max = 1, *step = 1; break;
    case KxAudioProperty_MixLevel: *min = 0, *max = 1000000, *step = 1; break;
    case KxAudioProperty_Pan: *min = -1000000, *max = 1000000, *step = 1; break;
    case KxAudioProperty_Treble:
    case KxAudioProperty_Bass:
      // The range is the mixer's.
      RETURN_IF_FAILED(AudioInputMixer());
      break;
    case KxAudioProperty_Volume: *min = -10000, *max = 0, *step = 100; break;
    case KxAudioProperty_Balance: *min = -10000, *max = 10000, *step = 100; break;
    default: break;
  }
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::get_AudioPropertyDefault(LONG id, LONG* value) {
  if (!value) return E_POINTER;
  *value = 0;
  switch (id) {
    case KxAudioProperty_Pan:
    case KxAudioProperty_Treble:
    case KxAudioProperty_Bass:
    case KxAudioProperty_Volume:
    case KxAudioProperty_Balance: return S_OK;
    default: return E_NOTIMPL;
  }
}

HRESULT CKxGraphManagerDigitalBase::get_AudioProperty(LONG id, LONG* value) {
  if (!value) return E_POINTER;
  AutoLock lock(m_graphLock);
  *value = 0;
  if (IsMixerProperty(id)) return AudioInputMixer();
  if (IsBasicAudioProperty(id)) return BasicAudioProperty(id, false, value);
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::put_AudioProperty(LONG id, LONG value) {
  AutoLock lock(m_graphLock);
  if (IsMixerProperty(id)) return AudioInputMixer();
  if (IsBasicAudioProperty(id)) return BasicAudioProperty(id, true, &value);
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::get_AudioPropertyAuto(LONG id, VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  AutoLock lock(m_graphLock);
  *value = VARIANT_FALSE;
  if (id != KxAudioProperty_MixLevel) return S_OK;
  return AudioInputMixer();
}

HRESULT CKxGraphManagerDigitalBase::put_AudioPropertyAuto(LONG id, VARIANT_BOOL value) {
  if (id != KxAudioProperty_MixLevel) return E_NOTIMPL;
  AutoLock lock(m_graphLock);
  return AudioInputMixer();
}
