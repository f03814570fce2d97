#pragma once
// The terrestrial tuner: the country's networks of the DVB-T list, one record
// per frequency with its bandwidth.
#include "Tuner/KxTunerRegional.h"
#include "platform/com/ComObject.h"

class CKxTunerDvbt : public CKxTunerRegional, public IKxTunerSetupDvbt {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTuner, IKxTunerSetupTuningData, IKxTunerSetupDvbt>;
  CKxTunerDvbt();
  ~CKxTunerDvbt() override;

  // IKxTunerSetupDvbt
  HRESULT put_CountryCode(LONG code) override;

 protected:
  HRESULT LoadFrequencyListFromTuningItemList(IKxTuningItemList* list) override;
  HRESULT CreateTuneRequest(ITuneRequest** request) override;
  HRESULT ExecutePluginTuneRequest(const KxScanRecord& tp) override;
  HRESULT SetChannelData(IChannel* channel, const KxScanRecord& tp, CKxChannel* channelObject) override;
  HRESULT UpdateTransponderFrequencies(ITransponderFrequencies* frequencies) override;
};
