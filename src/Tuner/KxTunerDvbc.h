#pragma once
// The cable tuner: the country's networks of the DVB-C list, each frequency
// tried with every modulation and symbol rate to try.
#include "Tuner/KxTunerRegional.h"
#include "platform/com/ComObject.h"

class CKxTunerDvbc : public CKxTunerRegional, public IKxTunerSetupDvbc {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTuner, IKxTunerSetupTuningData, IKxTunerSetupDvbc>;
  // Tries 64-QAM and 256-QAM.
  static constexpr LONG kAnyModulation = 100;

  CKxTunerDvbc();
  ~CKxTunerDvbc() override;

  // IKxTunerSetupDvbc
  HRESULT put_CableModulation(LONG modulation) override;
  HRESULT put_CableSymbolRate(LONG symbolRate) override;
  HRESULT put_CountryCode(LONG code) override;

 protected:
  HRESULT LoadFrequencyListFromTuningItemList(IKxTuningItemList* list) override;
  HRESULT CreateTuneRequest(ITuneRequest** request) override;
  HRESULT ExecutePluginTuneRequest(const KxScanRecord& tp) override;
  HRESULT SetChannelData(IChannel* channel, const KxScanRecord& tp, CKxChannel* channelObject) override;
  HRESULT UpdateTransponderFrequencies(ITransponderFrequencies* frequencies) override;

 private:
  LONG m_lModulation = kAnyModulation;
  LONG m_lSymbolRate = 0;  // 0: try 6900 and 6875
};
