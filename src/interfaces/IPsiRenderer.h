#pragma once
// The PSI renderer filter's program-internal interfaces.
#include <cstdint>

#include "interfaces/IChannel.h"
#include "interfaces/IEpgEvents.h"
#include "platform/com/Unknown.h"

struct IEpgCallback;

struct IMpeg2PsiReader : IUnknown {
  DTV_DECLARE_IID("{2F64C2DF-8E46-4394-95C9-E920C60EBCC4}");
  virtual HRESULT Init(LONG networkType) = 0;
  virtual HRESULT get_StreamExist(VARIANT_BOOL* exists) = 0;
  virtual HRESULT get_IsScrambled(LONG serviceId, VARIANT_BOOL* scrambled) = 0;
  virtual HRESULT get_TransponderInfo(LONG* frequency, LONG* polarisation, LONG* symbolRate,
                                      LONG* orbitalPosition) = 0;
  virtual HRESULT get_TransponderInfoEx(VARIANT_BOOL* dvbS2) = 0;
  virtual HRESULT ResetStreamInfo() = 0;
  virtual HRESULT GetPmtSection(LONG programNumber, uint8_t** section, LONG* length) = 0;
};

struct IChannelSearch : IUnknown {
  DTV_DECLARE_IID("{2B38BF67-738E-4395-BD69-4C56856C3418}");
  virtual HRESULT StartChannelScan(LONG flags) = 0;
  virtual HRESULT StopChannelScan() = 0;
  virtual HRESULT get_IsChannelSearchCompleted(VARIANT_BOOL* completed) = 0;
  virtual HRESULT get_Channels(IChannels** channels) = 0;
  virtual HRESULT get_TransponderFrequencies(ITransponderFrequencies** frequencies) = 0;
};

struct IEpg : IUnknown {
  DTV_DECLARE_IID("{5010826F-7BA2-4687-966A-E43DCC0264C7}");
  virtual HRESULT StartEpgScan() = 0;
  virtual HRESULT StopEpgScan() = 0;
  virtual HRESULT get_IsEpgScanCompleted(VARIANT_BOOL* completed) = 0;
  virtual HRESULT get_EpgEvents(IEpgEvents** events) = 0;
};

struct IBackgroundEpg : IUnknown {
  DTV_DECLARE_IID("{FC76817C-CDBA-483E-956D-96177891EDAA}");
  virtual HRESULT StartBackgroundEpg(IEpgCallback* callback) = 0;
  virtual HRESULT StopBackgroundEpg() = 0;
};
