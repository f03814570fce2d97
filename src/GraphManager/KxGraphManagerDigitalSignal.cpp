// Reception facets of the digital graph: signal, scrambling, the current
// transponder, and the internal objects handed out as extra information.
#include "GraphManager/KxGraphManagerDigitalBase.h"
#include "GraphManager/TracedCall.h"
#include "Tuner/KxTransponderInfo.h"
#include "interfaces/KxFilterRole.h"
#include "platform/bda/ControlInterfaces.h"
#include "platform/bda/Topology.h"
#include "platform/sync/Clock.h"

namespace {
static constexpr const char* kLogFile = "KxGraphManagerDigitalBase";
constexpr int kSignalStrengthTries = 20;
constexpr uint32_t kSignalStrengthRetryMs = 50;
constexpr ULONG kMaxNodeTypes = 16;

// Device plug-in capability asked for by the extra-information types 9..12.
LONG CapabilityOfExtraInfo(LONG type) { return 4 << (type - KxExtraInfoType_FindDevicePlugin_CommandTuneRequestDvbs); }
}  // namespace

HRESULT CKxGraphManagerDigitalBase::GetSignalStatus(bool* locked, LONG* quality, LONG* strength) {
  if (!locked || !quality || !strength) return E_POINTER;
  *locked = false;
  *quality = *strength = 0;
  ComPtr<IMpeg2PsiReader> pPsiReader;
  if (FAILED(PsiRenderer(&pPsiReader))) return E_POINTER;
  VARIANT_BOOL bSignal = VARIANT_FALSE;
  RETURN_IF_FAILED(pPsiReader->get_StreamExist(&bSignal));
  *locked = bSignal != VARIANT_FALSE;
  if (!*locked) return S_OK;
  *quality = *strength = 100;
  LONG measuredQuality = 0, measuredStrength = 0;
  if (ReadReceptionStatistics(&measuredQuality, &measuredStrength) && measuredQuality > 0 && measuredStrength > 0) {
    *quality = std::min<LONG>(measuredQuality, 100);
    *strength = std::min<LONG>(measuredStrength, 100);
  }
  return S_OK;
}

bool CKxGraphManagerDigitalBase::ReadReceptionStatistics(LONG* quality, LONG* strength) {
  const auto source = m_flts.find(KxFLTVideoSource);
  if (source == m_flts.end() || !source->second) return false;
  ComPtr<IScanningTuner> pTvTuner;
  HRESULT hr = GetScanningTuner(pTvTuner.Put());
  traceFailure(hr, "(hr) = (GetScanningTuner(&pTvTuner))", kLogFile);
  if (FAILED(hr)) return false;
  LONG providerStrength = 0;
  for (int attempt = 0; attempt < kSignalStrengthTries; ++attempt) {
    if (SUCCEEDED(pTvTuner->get_SignalStrength(&providerStrength))) break;
    SleepMs(kSignalStrengthRetryMs);
  }
  ComPtr<IBDA_Topology> pBDATopology = QueryAs<IBDA_Topology>(source->second.Get());
  if (!pBDATopology) return false;
  ULONG types[kMaxNodeTypes];
  ULONG count = 0;
  if (FAILED(pBDATopology->GetNodeTypes(&count, kMaxNodeTypes, types))) return false;
  // The first node with statistics tells.
  for (ULONG i = 0; i < count; ++i) {
    ComPtr<IUnknown> pControlNode;
    hr = pBDATopology->GetControlNode(0, 1, types[i], pControlNode.Put());
    traceFailure(hr, "(hr) = (pBDATopology->GetControlNode(ulInputPinId, ulOutputPinId, ulNodeType, &pControlNode))",
                 kLogFile);
    if (FAILED(hr)) continue;
    ComPtr<IBDA_SignalStatistics> pStatistics = QueryAs<IBDA_SignalStatistics>(pControlNode.Get());
    if (!pStatistics) continue;
    LONG nodeQuality = 0, nodeStrength = 0;
    if (FAILED(pStatistics->get_SignalQuality(&nodeQuality)) || FAILED(pStatistics->get_SignalStrength(&nodeStrength)))
      continue;
    *quality = nodeQuality;
    *strength = providerStrength > 0 ? providerStrength : nodeStrength;
    return true;
  }
  return false;
}

HRESULT CKxGraphManagerDigitalBase::GetScrambled(bool* scrambled) {
  if (!scrambled) return E_POINTER;
  ComPtr<IMpeg2PsiReader> pPsiReader;
  if (FAILED(PsiRenderer(&pPsiReader))) return E_POINTER;
  VARIANT_BOOL answer = VARIANT_FALSE;
  const HRESULT hr = pPsiReader->get_IsScrambled(m_nCurrentServiceId, &answer);
  traceFailure(hr, "(hr) = (pPsiReader->get_IsScrambled(m_nCurrentServiceId, &bScrambled))", kLogFile);
  if (FAILED(hr)) return hr;
  // An unknown service counts as unscrambled.
  *scrambled = hr == S_OK && answer != VARIANT_FALSE;
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::get_TransponderInfo(IKxTransponderInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  ComPtr<IMpeg2PsiReader> pPsiReader;
  if (FAILED(PsiRenderer(&pPsiReader))) return E_NOINTERFACE;
  LONG lFreq = -1, lPol = -1, lSr = -1, lSat = -1;
  VARIANT_BOOL bDvbS2 = VARIANT_FALSE;
  RETURN_IF_FAILED_AS("pPsiReader->get_TransponderInfo(&lFreq, &lPol, &lSr, &lSat)",
                      pPsiReader->get_TransponderInfo(&lFreq, &lPol, &lSr, &lSat));
  RETURN_IF_FAILED_AS("pPsiReader->get_TransponderInfoEx(&bDvbS2)", pPsiReader->get_TransponderInfoEx(&bDvbS2));
  RETURN_IF_FAILED(CKxTransponderInfo::CreateInstance(lFreq, lPol, lSr, lSat, bDvbS2, info));
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::GetScanningTuner(IScanningTuner** tuner) {
  AutoLock lock(m_graphLock);
  const auto provider = m_flts.find(KxFLTNetworkProvider);
  if (provider == m_flts.end() || !provider->second) return E_POINTER;
  return provider->second->QueryInterface(IidOf<IScanningTuner>(), reinterpret_cast<void**>(tuner));
}

HRESULT CKxGraphManagerDigitalBase::get_ExtraInfo(LONG type, IUnknown** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (type < KxExtraInfoType_VideoSourceFilter || type > KxExtraInfoType_FindDevicePlugin_CommandTuneRequestAtsc ||
      (type > KxExtraInfoType_FrequencyMap && type < KxExtraInfoType_FindDevicePlugin_CommandTuneRequestDvbs))
    return E_INVALIDARG;
  if (type >= KxExtraInfoType_FindDevicePlugin_CommandTuneRequestDvbs) {
    const auto plugins = DevicePlugins();
    if (!plugins) return E_POINTER;
    ComPtr<IKxDevicePlugin> plugin;
    const HRESULT hr = plugins->FindDevicePlugin(CapabilityOfExtraInfo(type), plugin.Put());
    if (hr != S_OK) return hr;
    RETURN_IF_FAILED_AS("pPlugin.QueryInterface(ppInfo)",
                        plugin->QueryInterface(IidOf<IUnknown>(), reinterpret_cast<void**>(info)));
    return S_OK;
  }
  AutoLock lock(m_graphLock);
  if (type == KxExtraInfoType_ScanningTuner || type == KxExtraInfoType_FrequencyMap) {
    ComPtr<IScanningTuner> pTvTuner;
    RETURN_IF_FAILED(GetScanningTuner(pTvTuner.Put()));
    // This platform's providers have no frequency map.
    if (type == KxExtraInfoType_FrequencyMap) return E_NOINTERFACE;
    RETURN_IF_FAILED_AS("pTvTuner.QueryInterface(ppInfo)",
                        pTvTuner->QueryInterface(IidOf<IUnknown>(), reinterpret_cast<void**>(info)));
    return S_OK;
  }
  const LONG role = type == KxExtraInfoType_VideoSourceFilter ? KxFLTVideoSource : KxFLTMpegPsiReader;
  const auto it = m_flts.find(role);
  if (it == m_flts.end() || !it->second) return E_POINTER;
  RETURN_IF_FAILED_AS("pFilter.QueryInterface(ppInfo)",
                      it->second->QueryInterface(IidOf<IUnknown>(), reinterpret_cast<void**>(info)));
  return S_OK;
}
