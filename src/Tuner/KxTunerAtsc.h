#pragma once
// The ATSC tuner: antenna (8VSB) over the physical channels 2 to 69, or cable
// (QAM) over the cable frequency table, each frequency with 64-QAM and 256-QAM.
#include "Tuner/KxTunerDigitalDvb.h"
#include "platform/com/ComObject.h"

class CKxTunerAtsc : public CKxTunerDigitalDvb, public IKxTunerSetupAtsc {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTuner, IKxTunerSetupTuningData, IKxTunerSetupAtsc>;
  enum Input : LONG { Input_None = 0, Input_Antenna = 1, Input_Cable = 2 };

  ~CKxTunerAtsc() override;

  // IKxTunerSetupAtsc
  HRESULT put_TunerInput(LONG input) override;

 protected:
  HRESULT LoadFrequencyList() override;
  LONG GetCurrentFrequency() override;
  HRESULT CreateTuneRequest(ITuneRequest** request) override;
  HRESULT ExecutePluginTuneRequest(const KxScanRecord& tp) override;
  HRESULT CheckChannel(IChannel* channel, bool* valid) override;
  HRESULT SetChannelData(IChannel* channel, const KxScanRecord& tp, CKxChannel* channelObject) override;

 private:
  LONG m_eInput = Input_None;
};
