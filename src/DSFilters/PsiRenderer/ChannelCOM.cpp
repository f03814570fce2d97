#include "DSFilters/PsiRenderer/ChannelCOM.h"

#include <cstring>

#include "DSFilters/PsiRenderer/SnapshotLog.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "ChannelCOM";

HRESULT Out(LONG* out, int32_t value) {
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}

HRESULT OutFlag(boolean* out, bool value) {
  if (!out) return E_POINTER;
  *out = value ? 1 : 0;
  return S_OK;
}

template <typename T>
bool InRange(LONG index, const std::vector<T>& records) {
  return index >= 0 && static_cast<size_t>(index) < records.size();
}

HRESULT CopyName(const BStr& name, BSTR* out, const char* expression) {
  if (!out) return E_POINTER;
  const HRESULT hr = name.CopyTo(out);
  if (FAILED(hr)) {
    traceFailure(hr, expression, kLogFile);
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

void CopyLanguage(const LanguageChars& language, uint8_t* out) { std::memcpy(out, language.data(), language.size()); }
}  // namespace

CChannelCOM::CChannelCOM(const CChannel& channel) : CChannel(channel) {
  log(7, "CChannelCOM: Ctor(0x%x)", SnapshotAddress(this));
}

CChannelCOM::~CChannelCOM() { log(7, "CChannelCOM: Dtor(0x%x)", SnapshotAddress(this)); }

HRESULT CChannelCOM::CreateInstance(const CChannel& channel, IChannel** ppChannel) {
  if (!ppChannel) return E_POINTER;
  *ppChannel = nullptr;
  ComPtr<ComObject<CChannelCOM>> pObj = ComObject<CChannelCOM>::Make(channel);
  if (!pObj) return E_OUTOFMEMORY;
  const HRESULT hr = pObj->QueryInterface(IidOf<IChannel>(), reinterpret_cast<void**>(ppChannel));
  if (FAILED(hr))
    traceFailure(hr, "(hr) = (pObj->QueryInterface(__uuidof(IChannel), reinterpret_cast<void**>(ppChannel)))",
                 kLogFile);
  return hr;
}

HRESULT CChannelCOM::get_Reserved(LONG* plReserved) { return Out(plReserved, 0); }
HRESULT CChannelCOM::get_ProgramNumber(LONG* plProgramNumber) { return Out(plProgramNumber, m_nProgramNumber); }
HRESULT CChannelCOM::get_TransportStreamId(LONG* plTransportStreamId) {
  return Out(plTransportStreamId, m_nTransportStreamId);
}
HRESULT CChannelCOM::get_ChannelName(BSTR* pbstrChannelName) {
  return CopyName(m_bstrServiceName, pbstrChannelName, "(hr) = (m_bstrServiceName.CopyTo(pbstrChannelName))");
}
HRESULT CChannelCOM::get_IsCa(boolean* pbIsCa) { return OutFlag(pbIsCa, m_nCa != 0); }
HRESULT CChannelCOM::get_NetworkId(LONG* plNetworkId) { return Out(plNetworkId, m_nNetworkId); }
HRESULT CChannelCOM::get_OriginalNetworkId(LONG* plOriginalNetworkId) {
  return Out(plOriginalNetworkId, m_nOriginalNetworkId);
}
HRESULT CChannelCOM::get_ServiceId(LONG* plServiceId) { return Out(plServiceId, m_nServiceId); }
HRESULT CChannelCOM::get_SourceId(LONG* plSourceId) { return Out(plSourceId, m_nSourceId); }
HRESULT CChannelCOM::get_PcrPid(LONG* plPcrPid) { return Out(plPcrPid, m_nPcrPid); }
HRESULT CChannelCOM::get_ChannelTsId(LONG* plChannelTsId) { return Out(plChannelTsId, m_nChannelTsId); }
HRESULT CChannelCOM::get_NumberOfPids(LONG* plCount) { return Out(plCount, static_cast<int32_t>(m_vPids.size())); }

HRESULT CChannelCOM::GetPidInfo(LONG lIndex, LONG* plPid, LONG* plStreamType, LONG* plClassification) {
  if (!plPid || !plStreamType || !plClassification) return E_POINTER;
  if (!InRange(lIndex, m_vPids)) return E_INVALIDARG;
  const PidRecord& record = m_vPids[lIndex];
  *plPid = record.pid;
  *plStreamType = record.stream_type;
  *plClassification = record.classification;
  return S_OK;
}

HRESULT CChannelCOM::get_ServiceProvider(BSTR* pbstrServiceProvider) {
  return CopyName(m_bstrServiceProvider, pbstrServiceProvider,
                  "(hr) = (m_bstrServiceProvider.CopyTo(pbstrServiceProvider))");
}
HRESULT CChannelCOM::get_ServiceType(LONG* plServiceType) { return Out(plServiceType, m_nServiceType); }
HRESULT CChannelCOM::get_NetworkName(BSTR* pbstrNetworkName) {
  return CopyName(m_bstrNetworkName, pbstrNetworkName, "(hr) = (m_bstrNetworkName.CopyTo(pbstrNetworkName))");
}
HRESULT CChannelCOM::get_Running(LONG* plRunning) { return Out(plRunning, m_nRunningStatus); }
HRESULT CChannelCOM::get_CarrierFrequency(LONG* plFrequency) { return Out(plFrequency, m_nCarrierFrequency); }
HRESULT CChannelCOM::get_SymbolRate(LONG* plSymbolRate) { return Out(plSymbolRate, m_nSymbolRate); }
HRESULT CChannelCOM::get_SignalPolarisation(LONG* plPolarisation) { return Out(plPolarisation, m_nPolarisation); }
HRESULT CChannelCOM::get_MajorChannelNumber(LONG* plMajor) { return Out(plMajor, m_nMajorChannelNumber); }
HRESULT CChannelCOM::get_MinorChannelNumber(LONG* plMinor) { return Out(plMinor, m_nMinorChannelNumber); }
HRESULT CChannelCOM::get_Bandwidth(LONG* plBandwidth) { return Out(plBandwidth, m_nBandwidth); }
HRESULT CChannelCOM::get_Modulation(LONG* plModulation) { return Out(plModulation, m_nModulation); }
HRESULT CChannelCOM::get_OrbitalPosition(LONG* plOrbitalPosition) { return Out(plOrbitalPosition, m_nOrbitalPosition); }
HRESULT CChannelCOM::get_OrbitalPositionFlag(LONG* plWestEast) { return Out(plWestEast, m_nWestEastFlag); }
HRESULT CChannelCOM::get_NumberOfAudio(LONG* plCount) { return Out(plCount, static_cast<int32_t>(m_vAudio.size())); }

HRESULT CChannelCOM::GetAudioInfo(LONG lIndex, LONG* plPid, uint8_t* pLanguage, boolean* pbAc3) {
  if (!plPid || !pLanguage || !pbAc3) return E_POINTER;
  if (!InRange(lIndex, m_vAudio)) return E_INVALIDARG;
  const AudioRecord& record = m_vAudio[lIndex];
  *plPid = record.pid;
  CopyLanguage(record.language, pLanguage);
  *pbAc3 = record.ac3 != 0 ? 1 : 0;
  return S_OK;
}

HRESULT CChannelCOM::get_NumberOfTeletextInfo(LONG* plCount) {
  return Out(plCount, static_cast<int32_t>(m_vTeletext.size()));
}

HRESULT CChannelCOM::GetTeletextInfo(LONG lIndex, LONG* plPid, uint8_t* pLanguage, LONG* plType, LONG* plMagazine,
                                     LONG* plPage) {
  if (!plPid || !pLanguage || !plType || !plMagazine || !plPage) return E_POINTER;
  if (!InRange(lIndex, m_vTeletext)) return E_INVALIDARG;
  const TeletextRecord& record = m_vTeletext[lIndex];
  *plPid = record.pid;
  CopyLanguage(record.language, pLanguage);
  *plType = record.teletext_type;
  *plMagazine = record.magazine_number;
  *plPage = record.page_number;
  return S_OK;
}

HRESULT CChannelCOM::get_NumberOfSubtitleInfo(LONG* plCount) {
  return Out(plCount, static_cast<int32_t>(m_vSubtitles.size()));
}

HRESULT CChannelCOM::GetSubtitleInfo(LONG lIndex, LONG* plPid, uint8_t* pLanguage, LONG* plType,
                                     LONG* plCompositionPage, LONG* plAncillaryPage) {
  if (!plPid || !pLanguage || !plType || !plCompositionPage || !plAncillaryPage) return E_POINTER;
  if (!InRange(lIndex, m_vSubtitles)) return E_INVALIDARG;
  const SubtitleRecord& record = m_vSubtitles[lIndex];
  *plPid = record.pid;
  CopyLanguage(record.language, pLanguage);
  *plType = record.subtitling_type;
  *plCompositionPage = record.composition_page_id;
  *plAncillaryPage = record.ancillary_page_id;
  return S_OK;
}

HRESULT CChannelCOM::get_PmtPid(LONG* plPmtPid) { return Out(plPmtPid, m_nPmtPid); }
HRESULT CChannelCOM::get_IsDvbS2(boolean* pbIsDvbS2) { return OutFlag(pbIsDvbS2, m_nDvbS2 != 0); }
HRESULT CChannelCOM::get_RollOff(LONG* plRollOff) { return Out(plRollOff, m_nRollOff); }
HRESULT CChannelCOM::get_S2BackwardsCompatibility(LONG* plValue) { return Out(plValue, m_nS2BackwardsCompatibility); }
HRESULT CChannelCOM::get_VideoStreamType(LONG* plVideoStreamType) { return Out(plVideoStreamType, m_nVideoStreamType); }
