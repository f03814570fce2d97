#include "Tuner/KxTunerDvbt.h"

#include "common/TuneRequestHelper.h"
#include "interfaces/IKxGraphManagerDigital.h"
#include "logging/LogFile.h"

namespace {
static constexpr const char* kLogFile = "KxTunerDvbt";
}

CKxTunerDvbt::CKxTunerDvbt() : CKxTunerRegional(KxTuningDataType_Dvbt, kLogFile, true) {}

CKxTunerDvbt::~CKxTunerDvbt() { StopWorker(); }

HRESULT CKxTunerDvbt::put_CountryCode(LONG code) {
  m_lCountryCode = code;
  return S_OK;
}

HRESULT CKxTunerDvbt::LoadFrequencyListFromTuningItemList(IKxTuningItemList* list) {
  LONG count = 0;
  RETURN_IF_FAILED(list->get_Count(&count));
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxTuningItem> item;
    RETURN_IF_FAILED(list->get_ItemByIndex(i, item.Put()));
    KxScanRecord record;
    RETURN_IF_FAILED(ReadItemNumber(item.Get(), KxTuningItemProperty_Frequency, record.nFrequency));
    RETURN_IF_FAILED(ReadItemNumber(item.Get(), KxTuningItemProperty_Bandwidth, record.nBandwidth));
    AppendRecord(record);
  }
  return S_OK;
}

HRESULT CKxTunerDvbt::CreateTuneRequest(ITuneRequest** request) {
  KxScanRecord tp;
  RETURN_IF_FAILED(GetTuningParam(CurrentIndex(), tp));
  const KxTuningInfo info = TuningInfoOf(tp);
  RETURN_IF_FAILED(CTuneRequestHelper<DvbtNetwork>::CreateTuneRequest(request, &info));
  return S_OK;
}

HRESULT CKxTunerDvbt::ExecutePluginTuneRequest(const KxScanRecord& tp) {
  KxDPTuneRequestParam param = EmptyTuneRequestParam();
  param.carrierFrequency = tp.nFrequency;
  param.bandwidth = tp.nBandwidth;
  log(1, "Execute Command Tune Request DVB-T. Frequency: %d, Bandwidth: %d", static_cast<int>(tp.nFrequency),
      static_cast<int>(tp.nBandwidth));
  return ExecuteDevicePluginCommand(KxExtraInfoType_FindDevicePlugin_CommandTuneRequestDvbt,
                                    KxCaptureDeviceType_Dvbt, param);
}

HRESULT CKxTunerDvbt::SetChannelData(IChannel* channel, const KxScanRecord& tp, CKxChannel* object) {
  LONG bandwidth = -1;
  RETURN_IF_FAILED(channel->get_Bandwidth(&bandwidth));
  if (bandwidth == -1 || bandwidth == 0) {
    log(1, "WARNING: The extracted bandwidth value %d is replaced with %d", static_cast<int>(bandwidth),
        static_cast<int>(tp.nBandwidth));
    bandwidth = tp.nBandwidth;
  }
  RETURN_IF_FAILED(object->put_Bandwidth(bandwidth));
  RETURN_IF_FAILED(PutDvbChannelType(channel, object, KxChannelType_DvbtTv, KxChannelType_DvbtRadio));
  return CKxTunerDigital::SetChannelData(channel, tp, object);
}

HRESULT CKxTunerDvbt::UpdateTransponderFrequencies(ITransponderFrequencies* frequencies) {
  if (!PropertyIsTrue(KxTunerProperty_NetworkSearch)) return S_OK;
  return ForEachAnnouncedTransponder(frequencies, [this](ITransponderFrequency* frequency) {
    KxScanRecord record;
    RETURN_IF_FAILED(frequency->get_CarrierFrequency(&record.nFrequency));
    RETURN_IF_FAILED(frequency->get_Bandwidth(&record.nBandwidth));
    if (record.nFrequency <= 0) return S_OK;  // not given
    if (AppendAnnouncedRecord(record))
      log(1, "Found additional frequency: Freq=%d, Bandwidth=%d", static_cast<int>(record.nFrequency),
          static_cast<int>(record.nBandwidth));
    return S_OK;
  });
}
