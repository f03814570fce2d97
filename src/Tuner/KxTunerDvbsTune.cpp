// The satellite tuner's tune requests, the channels it reports and the
// transponders the NIT adds.
#include <algorithm>
#include <cstdio>

#include "Tuner/KxTunerDvbs.h"
#include "common/TuneRequestHelper.h"
#include "interfaces/IKxGraphManagerDigital.h"
#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
static constexpr const char* kLogFile = "KxTunerDvbs";
// An LNB whose list has this many announced transponders knows its satellite.
constexpr size_t kRecordsToFindSatellite = 3;

std::u16string SatellitePositionText(LONG orbitalPosition, LONG westEastFlag) {
  char text[32];
  std::snprintf(text, sizeof text, "%d%s", static_cast<int>(orbitalPosition), westEastFlag == 1 ? "E" : "W");
  return Utf8ToUtf16(text);
}

HRESULT PutNamedValue(CKxChannel* object, const char16_t* name, int32_t value) {
  if (value == -1) return S_OK;
  return object->put_Property(BStr(name).Get(), Variant(value));
}
}  // namespace

HRESULT CKxTunerDvbs::CreateTuneRequest(ITuneRequest** request) {
  KxScanRecord tp;
  RETURN_IF_FAILED(GetTuningItem(tp));
  const KxTuningInfo info = TuningInfoOf(tp);
  RETURN_IF_FAILED(CTuneRequestHelper<DvbsNetwork>::CreateTuneRequest(request, &info));
  return S_OK;
}

HRESULT CKxTunerDvbs::PutTuneRequest(ITuneRequest* request) {
  KxScanRecord tp;
  RETURN_IF_FAILED(GetTuningItem(tp));
  RETURN_IF_FAILED(CKxTunerDigital::PutTuneRequest(request));
  log(1, "Tuned DVB-S: Lnb=%d Freq=%d, Pol=%d, Sr=%d, LowOsc=%d, HighOsc=%d, LnbSwitch=%d",
      static_cast<int>(tp.nLnbPosition), static_cast<int>(tp.nFrequency), static_cast<int>(tp.nPolarisation),
      static_cast<int>(tp.nSymbolRate), static_cast<int>(tp.nLowOscillator), static_cast<int>(tp.nHighOscillator),
      static_cast<int>(tp.nLnbSwitch));
  return S_OK;
}

HRESULT CKxTunerDvbs::ExecutePluginTuneRequest(const KxScanRecord& tp) {
  KxDPTuneRequestParam param = EmptyTuneRequestParam();
  param.lnbPosition = tp.nLnbPosition;
  param.carrierFrequency = tp.nFrequency;
  param.polarisation = tp.nPolarisation;
  param.symbolRate = tp.nSymbolRate;
  param.lnbSwitch = tp.nLnbSwitch;
  param.innerFec = tp.nInnerFec;
  param.modulation = tp.nModulation;
  param.pilot = tp.nPilot;
  param.rolloff = tp.nRolloff;
  param.highOscillator = tp.nHighOscillator;
  param.lowOscillator = tp.nLowOscillator;
  log(1, "Execute Command Tune Request DVB-S. LNB: %d, Frequency: %d, Polarisation: %d, Symbol Rate: %d",
      static_cast<int>(tp.nLnbPosition), static_cast<int>(tp.nFrequency), static_cast<int>(tp.nPolarisation),
      static_cast<int>(tp.nSymbolRate));
  log(1, "Inner Fec: %d, Modulation: %d, Pilot: %d, Rolloff: %d", static_cast<int>(tp.nInnerFec),
      static_cast<int>(tp.nModulation), static_cast<int>(tp.nPilot), static_cast<int>(tp.nRolloff));
  log(1, "High Oscillator: %d, Low Oscillator: %d, LNB Switch: %d", static_cast<int>(tp.nHighOscillator),
      static_cast<int>(tp.nLowOscillator), static_cast<int>(tp.nLnbSwitch));
  return ExecuteDevicePluginCommand(KxExtraInfoType_FindDevicePlugin_CommandTuneRequestDvbs,
                                    KxCaptureDeviceType_Dvbs, param);
}

HRESULT CKxTunerDvbs::SetChannelData(IChannel* channel, const KxScanRecord& tp, CKxChannel* object) {
  RETURN_IF_FAILED(object->put_SignalPolarisation(tp.nPolarisation));
  RETURN_IF_FAILED(PutDvbChannelType(channel, object, KxChannelType_DvbsTv, KxChannelType_DvbsRadio));
  LONG orbital = -1, westEast = -1;
  RETURN_IF_FAILED(channel->get_OrbitalPosition(&orbital));
  RETURN_IF_FAILED(channel->get_OrbitalPositionFlag(&westEast));
  if (orbital != -1 && westEast != -1)
    RETURN_IF_FAILED(object->put_Satellite(BStr(SatellitePositionText(orbital, westEast)).Get()));
  RETURN_IF_FAILED(CKxTunerDigital::SetChannelData(channel, tp, object));
  RETURN_IF_FAILED(object->put_LnbPosition(tp.nLnbPosition));
  RETURN_IF_FAILED(PutNamedValue(object, u"InnerFec", tp.nInnerFec));
  if (tp.nModulation != -1) RETURN_IF_FAILED(object->put_Modulation(tp.nModulation));
  RETURN_IF_FAILED(PutNamedValue(object, u"Pilot", tp.nPilot));
  RETURN_IF_FAILED(PutNamedValue(object, u"Rolloff", tp.nRolloff));
  RETURN_IF_FAILED(PutNamedValue(object, u"HighOscillator", tp.nHighOscillator));
  RETURN_IF_FAILED(PutNamedValue(object, u"LowOscillator", tp.nLowOscillator));
  RETURN_IF_FAILED(PutNamedValue(object, u"LnbSwitch", tp.nLnbSwitch));
  return S_OK;
}

HRESULT CKxTunerDvbs::UpdateTransponderFrequencies(ITransponderFrequencies* frequencies) {
  if (!PropertyIsTrue(KxTunerProperty_NetworkSearch)) {
    log(1, "Network search: OFF");
    return S_OK;
  }
  LnbInfo& lnb = m_lnbMap[m_eCurrentLnb];
  std::vector<KxScanRecord>& list = m_tuningMap[m_eCurrentLnb];
  std::u16string found;
  RETURN_IF_FAILED(ForEachAnnouncedTransponder(frequencies, [&](ITransponderFrequency* frequency) {
    KxScanRecord record;
    RETURN_IF_FAILED(frequency->get_CarrierFrequency(&record.nFrequency));
    RETURN_IF_FAILED(frequency->get_SymbolRate(&record.nSymbolRate));
    RETURN_IF_FAILED(frequency->get_Polarisation(&record.nPolarisation));
    if (record.nFrequency == 0 || record.nSymbolRate == 0 || record.nPolarisation == 0) return S_OK;
    LONG orbital = -1, westEast = -1;
    RETURN_IF_FAILED(frequency->get_OrbitalPosition(&orbital));
    RETURN_IF_FAILED(frequency->get_WestEastFlag(&westEast));
    const std::u16string satellite = SatellitePositionText(orbital, westEast);
    ApplyLnb(lnb, record);
    const bool listed = std::any_of(list.begin(), list.end(),
                                    [&](const KxScanRecord& r) { return SameSatelliteTransponder(r, record); });
    if (!listed) {
      list.push_back(record);
      log(1, "Found additional frequency: Sat=%s, Lnb=%d, Freq=%d, Pol=%d, SR=%d", Utf16ToUtf8(satellite).c_str(),
          static_cast<int>(m_eCurrentLnb), static_cast<int>(record.nFrequency), static_cast<int>(record.nPolarisation),
          static_cast<int>(record.nSymbolRate));
    }
    if (lnb.satellitePosition.empty() && list.size() >= kRecordsToFindSatellite) {
      lnb.satellitePosition = satellite;
      found = satellite;
      log(1, "Correct satellite position for the current LNB found: %s", Utf16ToUtf8(satellite).c_str());
    }
    return S_OK;
  }));
  if (found.empty()) return S_OK;
  // The satellite's own list follows what the NIT announced, without the
  // transponders already there; the scan restarts at this LNB's first record.
  std::vector<KxScanRecord> satelliteList;
  if (SUCCEEDED(AppendTuningItems(found, lnb, satelliteList)))
    for (const KxScanRecord& record : satelliteList)
      if (std::none_of(list.begin(), list.end(), [&](const KxScanRecord& r) { return SameSatelliteTransponder(r, record); }))
        list.push_back(record);
  m_nCurrentIndex = -1;
  return S_OK;
}
