#pragma once
// The digital tuner: one scan step tunes a frequency (through a device
// plug-in, else through the network provider), measures the signal, lets the
// PSI renderer's channel search collect the multiplex and reports every
// acceptable service as a host channel object.
#include <functional>
#include <map>
#include <mutex>

#include "Channel/KxChannel.h"
#include "Tuner/KxScanRecord.h"
#include "Tuner/KxTuner.h"
#include "interfaces/IChannel.h"
#include "interfaces/IKxDevicePlugin.h"
#include "interfaces/IPsiRenderer.h"
#include "platform/bda/TuningInterfaces.h"

class CKxTunerDigital : public CKxTuner, public IKxTunerSetupTuningData {
 public:
  // IKxTunerSetupTuningData
  HRESULT SetTuningData(IKxTuningData* data) override;

 protected:
  struct SignalReading {
    LONG strength = 0;  // 0 to 100
    LONG quality = 0;   // 0 to 100
    bool present = false;
    bool locked = false;
    bool read = false;  // the tuner answered at all
    ULONG lockTimeMs = 0;
  };

  HRESULT OnBeforeStartAutoTuning() override;

  virtual HRESULT LoadFrequencyList() = 0;
  virtual HRESULT CreateTuneRequest(ITuneRequest** request) = 0;
  virtual HRESULT PutTuneRequest(ITuneRequest* request);
  virtual HRESULT ExecutePluginTuneRequest(const KxScanRecord& tp) = 0;
  virtual HRESULT GetTuningItem(KxScanRecord& tp) = 0;
  virtual HRESULT CheckChannel(IChannel* channel, bool* valid);
  virtual HRESULT SetChannelData(IChannel* channel, const KxScanRecord& tp, CKxChannel* channelObject);
  virtual HRESULT UpdateTransponderFrequencies(ITransponderFrequencies* frequencies) { return S_OK; }
  virtual HRESULT CreateChannels(IChannels* channels, const KxScanRecord& tp);
  virtual HRESULT CreateChannel(IChannel* channel, const KxScanRecord& tp);
  virtual LONG GetChannelSearchFlags();

  // The scan step of the current record.
  HRESULT ScanTransponder();
  HRESULT GetSignalStatistic(SignalReading* reading);
  // The channel's PIDs by their classification; `streamTypes` learns each PID's stream type.
  static HRESULT AddClassifiedPids(IChannel* channel, CKxChannel* object, std::map<LONG, LONG>* streamTypes);
  // A DVB service's channel type: `tvType` or `radioType`, other services keep theirs.
  static HRESULT PutDvbChannelType(IChannel* channel, CKxChannel* object, LONG tvType, LONG radioType);
  // Calls `visit` for each transponder the network information announced.
  static HRESULT ForEachAnnouncedTransponder(ITransponderFrequencies* frequencies,
                                             const std::function<HRESULT(ITransponderFrequency*)>& visit);
  HRESULT GetScanningTuner(IScanningTuner** tuner);
  HRESULT GetExtraInfo(LONG type, IUnknown** info);
  // Hands a tune request command to the device plug-in that offers it
  // (`extraInfoType`); E_FAIL when there is none.
  HRESULT ExecuteDevicePluginCommand(LONG extraInfoType, LONG deviceType, const KxDPTuneRequestParam& param);
  // The tuning data of this search: the host's, else the built-in list of `type`.
  HRESULT LoadTuningData(const char16_t* type, const char* logFile);

  // What LoadTuningData chose; the worker reads it while the host may set other data.
  ComPtr<IKxTuningData> m_pScanTuningData;
  LONG m_lCurrSignalQuality = 0;

 private:
  HRESULT Tune(const KxScanRecord& tp);
  // Polls the signal until it locks or the tuner's lock time has passed.
  void WaitForLock(SignalReading* reading);
  HRESULT SearchChannels(IUnknown* psiRenderer, const KxScanRecord& tp);
  void ReadNodeStatistics(IUnknown* deviceFilter, SignalReading* reading);

  std::mutex m_tuningDataLock;
  ComPtr<IKxTuningData> m_pTuningData;  // set by the host, or the built-in list once loaded
};

// A tune request command record with every field -1.
KxDPTuneRequestParam EmptyTuneRequestParam();
