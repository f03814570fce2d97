#include "Tuner/KxTunerDvbc.h"

#include <vector>

#include "common/TuneRequestHelper.h"
#include "interfaces/IKxGraphManagerDigital.h"
#include "logging/LogFile.h"
#include "platform/bda/BdaTypes.h"

namespace {
static constexpr const char* kLogFile = "KxTunerDvbc";
}

CKxTunerDvbc::CKxTunerDvbc() : CKxTunerRegional(KxTuningDataType_Dvbc, kLogFile, false) {}

CKxTunerDvbc::~CKxTunerDvbc() { StopWorker(); }

HRESULT CKxTunerDvbc::put_CableModulation(LONG modulation) {
  m_lModulation = modulation;
  return S_OK;
}

HRESULT CKxTunerDvbc::put_CableSymbolRate(LONG symbolRate) {
  m_lSymbolRate = symbolRate;
  return S_OK;
}

HRESULT CKxTunerDvbc::put_CountryCode(LONG code) {
  m_lCountryCode = code;
  return S_OK;
}

HRESULT CKxTunerDvbc::LoadFrequencyListFromTuningItemList(IKxTuningItemList* list) {
  const std::vector<LONG> symbolRates =
      m_lSymbolRate >= 1 ? std::vector<LONG>{m_lSymbolRate} : std::vector<LONG>{6900, 6875};
  const std::vector<LONG> modulations = m_lModulation == kAnyModulation
                                            ? std::vector<LONG>{BDA_MOD_64QAM, BDA_MOD_256QAM}
                                            : std::vector<LONG>{m_lModulation};
  LONG count = 0;
  RETURN_IF_FAILED(list->get_Count(&count));
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxTuningItem> item;
    RETURN_IF_FAILED(list->get_ItemByIndex(i, item.Put()));
    KxScanRecord record;
    RETURN_IF_FAILED(ReadItemNumber(item.Get(), KxTuningItemProperty_Frequency, record.nFrequency));
    for (LONG modulation : modulations) {
      for (LONG symbolRate : symbolRates) {
        record.nModulation = modulation;
        record.nSymbolRate = symbolRate;
        AppendRecord(record);
      }
    }
  }
  return S_OK;
}

HRESULT CKxTunerDvbc::CreateTuneRequest(ITuneRequest** request) {
  KxScanRecord tp;
  RETURN_IF_FAILED(GetTuningParam(CurrentIndex(), tp));
  const KxTuningInfo info = TuningInfoOf(tp);
  RETURN_IF_FAILED(CTuneRequestHelper<DvbcNetwork>::CreateTuneRequest(request, &info));
  return S_OK;
}

HRESULT CKxTunerDvbc::ExecutePluginTuneRequest(const KxScanRecord& tp) {
  KxDPTuneRequestParam param = EmptyTuneRequestParam();
  param.carrierFrequency = tp.nFrequency;
  param.modulation = tp.nModulation;
  param.symbolRate = tp.nSymbolRate;
  log(1, "Execute Command Tune Request DVB-C Frequency: %d, Modulation: %d, Symbol Rate: %d",
      static_cast<int>(tp.nFrequency), static_cast<int>(tp.nModulation), static_cast<int>(tp.nSymbolRate));
  return ExecuteDevicePluginCommand(KxExtraInfoType_FindDevicePlugin_CommandTuneRequestDvbc,
                                    KxCaptureDeviceType_Dvbc, param);
}

HRESULT CKxTunerDvbc::SetChannelData(IChannel* channel, const KxScanRecord& tp, CKxChannel* object) {
  RETURN_IF_FAILED(PutDvbChannelType(channel, object, KxChannelType_DvbcTv, KxChannelType_DvbcRadio));
  return CKxTunerDigital::SetChannelData(channel, tp, object);
}

HRESULT CKxTunerDvbc::UpdateTransponderFrequencies(ITransponderFrequencies* frequencies) {
  if (!PropertyIsTrue(KxTunerProperty_NetworkSearch)) return S_OK;
  return ForEachAnnouncedTransponder(frequencies, [this](ITransponderFrequency* frequency) {
    KxScanRecord record;
    RETURN_IF_FAILED(frequency->get_CarrierFrequency(&record.nFrequency));
    RETURN_IF_FAILED(frequency->get_Modulation(&record.nModulation));
    RETURN_IF_FAILED(frequency->get_SymbolRate(&record.nSymbolRate));
    if (record.nFrequency <= 0) return S_OK;  // not given
    if (AppendAnnouncedRecord(record))
      log(1, "Found additional frequency: Freq=%d, Modulation=%d, SR=%d", static_cast<int>(record.nFrequency),
          static_cast<int>(record.nModulation), static_cast<int>(record.nSymbolRate));
    return S_OK;
  });
}
