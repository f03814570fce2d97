#include "DSFilters/PsiRenderer/PsiRendererFilter.h"

#include <cstring>

#include "DSFilters/PsiRenderer/ChannelsCOM.h"
#include "DSFilters/PsiRenderer/EpgEventsCOM.h"
#include "DSFilters/PsiRenderer/TransponderFrequenciesCOM.h"
#include "DSFilters/PsiRenderer/engine/BackgroundEpgAtsc.h"
#include "DSFilters/PsiRenderer/engine/BackgroundEpgDvb.h"
#include "DSFilters/PsiRenderer/engine/ChannelSearchAtsc.h"
#include "DSFilters/PsiRenderer/engine/ChannelSearchDvb.h"
#include "DSFilters/PsiRenderer/engine/EpgAtsc.h"
#include "DSFilters/PsiRenderer/engine/EpgDvb.h"
#include "logging/LogFile.h"
#include "platform/com/Property.h"
#include "platform/com/TaskMemory.h"
#include "platform/sync/Clock.h"

namespace {
constexpr const char* kLogFile = "DSFilters\\PsiRenderer\\psirendererfilter";

HRESULT ReturnBool(VARIANT_BOOL* out, bool value) { return GetProperty(out, ToVariantBool(value)); }
}  // namespace

CPsiRendererInputPin::CPsiRendererInputPin(CPsiRendererFilter* filter, RecursiveLock* lock)
    : CBaseInputPin(filter, lock, u"Input"), m_pOwner(filter) {}

HRESULT CPsiRendererInputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  log(6, "CPsiRendererInputPin::CheckMediaType()");
  if (type && type->majortype == MEDIATYPE_Stream &&
      (type->subtype == MEDIASUBTYPE_MPEG2_TRANSPORT || type->subtype == KSDATAFORMAT_SUBTYPE_BDA_MPEG2_TRANSPORT)) {
    log(6, "CPsiRendererInputPin::CheckMediaType(). Media type is OK");
    return S_OK;
  }
  return S_FALSE;
}

HRESULT CPsiRendererInputPin::Receive(IMediaSample* sample) {
  AutoLock lock(m_receiveLock);
  if (!sample) return E_POINTER;
  log(6, "CPsiRendererInputPin::Receive()");
  HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) {
    log(3, "CBaseInputPin::Receive() failed with HRESULT: %d", hr);
    return hr;
  }
  uint8_t* pData = nullptr;
  hr = sample->GetPointer(&pData);
  if (FAILED(hr)) {
    traceFailure(hr, "(hr) = (pSample->GetPointer(&pData))", kLogFile);
    return hr;
  }
  if (!pData) return E_POINTER;
  const LONG length = sample->GetActualDataLength();
  if (length > 0) {
    m_Observer.OnSample(GetTickCount());
    m_pOwner->Splitter().PushSample(pData, static_cast<uint32_t>(length));
  }
  return S_OK;
}

CPsiRendererFilter::CPsiRendererFilter()
    : CBaseFilter(u"PSI Renderer Filter", CLSID_PsiRendererFilter),
      m_pInputPin(std::make_shared<CPsiRendererInputPin>(this, &m_lock)) {}

CPsiRendererFilter::~CPsiRendererFilter() {
  AutoLock lock(m_lock);
  m_pInputPin->Observer().Stop();
  m_CAManager.Stop();
  m_TransponderInfo.Stop();
  // The search and EPG objects stop their own threads when released.
  m_pChannelSearch.reset();
  m_pEpg.reset();
  m_pBackgroundEpg.reset();
}

HRESULT CPsiRendererFilter::CreateFilter(IBaseFilter** filter) {
  if (!filter) return E_POINTER;
  *filter = nullptr;
  ComObject<CPsiRendererFilter>* pNewObject = nullptr;
  HRESULT hr = ComObject<CPsiRendererFilter>::CreateInstance(&pNewObject);
  if (FAILED(hr)) return hr;
  pNewObject->AddRef();
  hr = pNewObject->QueryInterface(IidOf<IBaseFilter>(), reinterpret_cast<void**>(filter));
  pNewObject->Release();
  if (FAILED(hr)) traceFailure(hr, "(hr) = (pNewObject->QueryInterface(__uuidof(IBaseFilter), (void**)ppFilter))", kLogFile);
  return hr;
}

CBasePin* CPsiRendererFilter::GetPin(int index) { return index == 0 ? m_pInputPin.get() : nullptr; }

HRESULT CPsiRendererFilter::Init(LONG networkType) {
  // The search and EPG objects are replaced under both locks: the interface
  // calls read them under the interface lock. Always in this order.
  AutoLock interfaceLock(m_interfaceLock);
  AutoLock lock(m_lock);
  // The replaced objects stop their workers: nothing runs any more.
  m_nRunning = 0;
  m_NetworkType = static_cast<PsiRenderer_NetworkType>(networkType);
  switch (networkType) {
    case PsiRenderer_NetworkType_Dvbs:
    case PsiRenderer_NetworkType_Dvbc:
    case PsiRenderer_NetworkType_Dvbt:
      m_pChannelSearch = std::make_shared<CChannelSearchDvb>(m_Splitter, m_NetworkType);
      m_pEpg = std::make_shared<CEpgDvb>(m_Splitter, m_NetworkType);
      m_pBackgroundEpg = std::make_shared<CBackgroundEpgDvb>(m_Splitter, m_NetworkType);
      break;
    case PsiRenderer_NetworkType_Atsc:
      m_pChannelSearch = std::make_shared<CChannelSearchAtsc>(m_Splitter);
      m_pEpg = std::make_shared<CEpgAtsc>(m_Splitter, m_NetworkType);
      m_pBackgroundEpg = std::make_shared<CBackgroundEpgAtsc>(m_Splitter, m_NetworkType);
      break;
    default:
      m_pChannelSearch.reset();
      m_pEpg.reset();
      m_pBackgroundEpg.reset();
      return E_FAIL;
  }
  m_CAManager.Start(THREAD_PRIORITY_NORMAL);
  m_TransponderInfo.Start(THREAD_PRIORITY_NORMAL);
  return S_OK;
}

HRESULT CPsiRendererFilter::get_StreamExist(VARIANT_BOOL* exists) {
  AutoLock lock(m_lock);
  if (!exists) return E_POINTER;
  if (!m_pInputPin) return E_FAIL;
  return ReturnBool(exists, m_pInputPin->Observer().StreamPresent());
}

HRESULT CPsiRendererFilter::get_IsScrambled(LONG serviceId, VARIANT_BOOL* scrambled) {
  AutoLock lock(m_lock);
  if (!scrambled) return E_POINTER;
  switch (m_CAManager.GetScramblingState(static_cast<uint16_t>(serviceId))) {
    case CCAManager::kScrambled: return ReturnBool(scrambled, true);
    case CCAManager::kClear: return ReturnBool(scrambled, false);
    default: return S_FALSE;
  }
}

HRESULT CPsiRendererFilter::get_TransponderInfo(LONG* frequency, LONG* polarisation, LONG* symbolRate,
                                                LONG* orbitalPosition) {
  AutoLock lock(m_lock);
  if (!frequency || !polarisation || !symbolRate || !orbitalPosition) return E_POINTER;
  if (m_pInputPin && !m_pInputPin->Observer().StreamPresent()) {
    *frequency = *polarisation = *symbolRate = *orbitalPosition = -1;
    return S_OK;
  }
  const TransponderValues values = m_TransponderInfo.Values();
  *frequency = values.frequency;
  *polarisation = values.polarisation;
  *symbolRate = values.symbolRate;
  *orbitalPosition = values.orbitalPosition;
  return S_OK;
}

HRESULT CPsiRendererFilter::get_TransponderInfoEx(VARIANT_BOOL* dvbS2) {
  AutoLock lock(m_lock);
  return ReturnBool(dvbS2, m_TransponderInfo.Values().dvbS2 != 0);
}

HRESULT CPsiRendererFilter::ResetStreamInfo() {
  m_Splitter.Reset();
  {
    AutoLock lock(m_lock);
    m_CAManager.Clear();
    m_TransponderInfo.Clear();
  }
  return S_OK;
}

HRESULT CPsiRendererFilter::GetPmtSection(LONG programNumber, uint8_t** section, LONG* length) {
  AutoLock lock(m_lock);
  if (!section || !length) return E_POINTER;
  *section = nullptr;
  *length = 0;
  const std::vector<uint8_t> pmt = m_CAManager.GetPmt(static_cast<uint16_t>(programNumber));
  if (pmt.empty()) return S_FALSE;
  auto* copy = static_cast<uint8_t*>(CoTaskMemAlloc(pmt.size()));
  if (!copy) return E_OUTOFMEMORY;
  std::memcpy(copy, pmt.data(), pmt.size());
  *section = copy;
  *length = static_cast<LONG>(pmt.size());
  return S_OK;
}

HRESULT CPsiRendererFilter::StopWorker(CPsiReaderSimpleThread* worker) {
  if (!worker) return E_POINTER;
  worker->Stop();
  m_nRunning = 0;
  return S_OK;
}

HRESULT CPsiRendererFilter::StartChannelScan(LONG flags) {
  AutoLock lock(m_interfaceLock);
  if (!m_pChannelSearch) return E_POINTER;
  if (m_nRunning) return S_FALSE;
  if (!m_pChannelSearch->StartChannelScan(static_cast<uint32_t>(flags))) return E_FAIL;
  m_nRunning = 1;
  return S_OK;
}

HRESULT CPsiRendererFilter::StopChannelScan() {
  AutoLock lock(m_interfaceLock);
  return StopWorker(m_pChannelSearch.get());
}

HRESULT CPsiRendererFilter::get_IsChannelSearchCompleted(VARIANT_BOOL* completed) {
  AutoLock lock(m_interfaceLock);
  if (!completed) return E_POINTER;
  if (!m_pChannelSearch) return E_POINTER;
  return ReturnBool(completed, m_pChannelSearch->IsCompleted() != 0);
}

HRESULT CPsiRendererFilter::get_Channels(IChannels** channels) {
  AutoLock lock(m_interfaceLock);
  if (!channels) return E_POINTER;
  if (!m_pChannelSearch) return E_POINTER;
  const HRESULT hr = CChannelsCOM::CreateInstance(m_pChannelSearch->GetChannels(), channels);
  if (FAILED(hr)) traceFailure(hr, "(hr) = (CChannelsCOM::CreateInstance(m_pChannelSearch->GetChannels(), ppChannels))", kLogFile);
  return hr;
}

HRESULT CPsiRendererFilter::get_TransponderFrequencies(ITransponderFrequencies** frequencies) {
  AutoLock lock(m_interfaceLock);
  if (!frequencies) return E_POINTER;
  if (!m_pChannelSearch) return E_POINTER;
  if (m_NetworkType == PsiRenderer_NetworkType_Atsc) return E_NOTIMPL;
  const std::shared_ptr<CTransponderFrequencies> pFrequencies = m_pChannelSearch->GetTransponderFrequencies();
  const HRESULT hr = CTransponderFrequenciesCOM::CreateInstance(pFrequencies, frequencies);
  if (FAILED(hr)) traceFailure(hr, "(hr) = (CTransponderFrequenciesCOM::CreateInstance(pFrequencies, ppFrequencies))", kLogFile);
  return hr;
}

HRESULT CPsiRendererFilter::StartEpgScan() {
  AutoLock lock(m_interfaceLock);
  if (!m_pEpg) return E_POINTER;
  if (m_nRunning) return S_FALSE;
  m_pEpg->Stop();
  m_pEpg->Reset();
  if (!m_pEpg->Start(THREAD_PRIORITY_NORMAL)) return E_FAIL;
  m_nRunning = 1;
  return S_OK;
}

HRESULT CPsiRendererFilter::StopEpgScan() {
  AutoLock lock(m_interfaceLock);
  return StopWorker(m_pEpg.get());
}

HRESULT CPsiRendererFilter::get_IsEpgScanCompleted(VARIANT_BOOL* completed) {
  AutoLock lock(m_interfaceLock);
  if (!completed) return E_POINTER;
  if (!m_pEpg) return E_POINTER;
  return ReturnBool(completed, m_pEpg->IsCompleted() != 0);
}

HRESULT CPsiRendererFilter::get_EpgEvents(IEpgEvents** events) {
  AutoLock lock(m_interfaceLock);
  if (!events) return E_POINTER;
  if (!m_pEpg) return E_POINTER;
  const HRESULT hr = CEpgEventsCOM::CreateInstance(*m_pEpg->GetEvents(), false, events);
  if (FAILED(hr)) traceFailure(hr, "(hr) = (CEpgEventsCOM::CreateInstance(m_pEpg->GetEvents(), 0, ppEvents))", kLogFile);
  return hr;
}

HRESULT CPsiRendererFilter::StartBackgroundEpg(IEpgCallback* callback) {
  AutoLock lock(m_interfaceLock);
  if (!callback || !m_pBackgroundEpg) return E_POINTER;
  if (m_nRunning) return S_FALSE;
  m_EpgCallbackSink.SetCallback(callback);
  m_pBackgroundEpg->SetSink(&m_EpgCallbackSink);
  if (!m_pBackgroundEpg->Start(THREAD_PRIORITY_IDLE)) return E_FAIL;
  m_nRunning = 1;
  return S_OK;
}

HRESULT CPsiRendererFilter::StopBackgroundEpg() {
  AutoLock lock(m_interfaceLock);
  return StopWorker(m_pBackgroundEpg.get());
}
