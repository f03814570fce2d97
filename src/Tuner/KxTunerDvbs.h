#pragma once
// The satellite tuner: LNB after LNB, the satellite's transponder list for an
// LNB whose orbital position is known, else a blind scan over the first
// transponders of every satellite until the NIT tells which one the LNB sees.
#include <map>
#include <string>
#include <vector>

#include "Tuner/KxTunerDigital.h"
#include "interfaces/IKxLnbControl.h"
#include "platform/com/ComObject.h"

class CKxTunerDvbs : public CKxTunerDigital, public IKxTunerSetupDvbs {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTuner, IKxTunerSetupTuningData, IKxTunerSetupDvbs>;
  ~CKxTunerDvbs() override;

  // IKxTunerSetupDvbs
  HRESULT get_LnbControl(IUnknown** control) override;

 protected:
  HRESULT LoadFrequencyList() override;
  HRESULT OnScanStep() override;
  bool IsScanFinished() override { return m_bFinished; }
  LONG GetCurrentFrequency() override;
  LONG GetProgress() override;
  HRESULT GetTuningItem(KxScanRecord& tp) override;
  HRESULT CreateTuneRequest(ITuneRequest** request) override;
  HRESULT PutTuneRequest(ITuneRequest* request) override;
  HRESULT ExecutePluginTuneRequest(const KxScanRecord& tp) override;
  HRESULT SetChannelData(IChannel* channel, const KxScanRecord& tp, CKxChannel* channelObject) override;
  HRESULT UpdateTransponderFrequencies(ITransponderFrequencies* frequencies) override;
  LONG GetChannelSearchFlags() override;

 private:
  struct LnbInfo {
    LONG eLnbPos = 0;
    LONG highOscillator = -1, lowOscillator = -1, lnbSwitch = -1;  // kHz
    std::u16string satellitePosition;  // "192E"; empty when unknown
  };

  static void ApplyLnb(const LnbInfo& lnb, KxScanRecord& record);
  HRESULT ReadLnbs(IKxLnbControl* control);
  HRESULT AppendTuningItems(const std::u16string& position, const LnbInfo& lnb, std::vector<KxScanRecord>& list);
  HRESULT LoadFrequencyListForBlindScan(const LnbInfo& lnb);
  std::vector<KxScanRecord>& CurrentList(LONG lnb);
  // Makes the smallest remaining LNB with records to scan the current one.
  void NextLnb();
  bool Scanned(const KxScanRecord& tp) const;

  std::map<LONG, LnbInfo> m_lnbMap;
  std::map<LONG, std::vector<KxScanRecord>> m_tuningMap;
  std::vector<KxScanRecord> m_AllFrequencyList;
  // What the current LNB has been tuned to: a list that restarts after the
  // satellite was found does not search them again.
  std::vector<KxScanRecord> m_scannedOnLnb;
  LONG m_eCurrentLnb = 0;
  LONG m_nCurrentIndex = 0;
  LONG m_nScanSteps = 0;
  bool m_bFinished = false;
};

// Two satellite records name the same transponder: the same polarisation,
// symbol rate and LNB, and frequencies within 2 MHz (announced transponders
// carry no inner FEC, listed ones do).
bool SameSatelliteTransponder(const KxScanRecord& a, const KxScanRecord& b);
