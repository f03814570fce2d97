#pragma once
// The automatic channel search of one capture device as the host drives it:
// the tuner, its setup interfaces per delivery system, and the host's callback.
#include "interfaces/IKxGraphManager.h"
#include "interfaces/IKxTuningData.h"
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

// Tuner property keys.
enum KxTunerProperty : LONG {
  KxTunerProperty_NetworkSearch = 0,  // add the transponders the NIT announces
  KxTunerProperty_WaitForNit = 1,     // a multiplex is complete only with its NIT
};

struct IKxTuner : IUnknown {
  DTV_DECLARE_IID("{6C04FA69-98B0-4494-B1F3-4C47244AEF8F}");
  // `callback` answers IKxTunerCallback.
  virtual HRESULT StartAutoTuning(IUnknown* callback) = 0;
  virtual HRESULT StopAutoTuning() = 0;
  virtual HRESULT put_VideoRenderer(VARIANT_BOOL enable, HWND window) = 0;
  virtual HRESULT put_AudioRenderer(VARIANT_BOOL enable) = 0;
  virtual HRESULT put_Property(LONG key, VARIANT value) = 0;
  virtual HRESULT get_Property(LONG key, VARIANT* value) = 0;

 protected:
  ~IKxTuner() = default;
};

struct IKxTunerSetupTuningData : IUnknown {
  DTV_DECLARE_IID("{19B5C506-88DC-4265-B13B-099864CACAE5}");
  virtual HRESULT SetTuningData(IKxTuningData* data) = 0;

 protected:
  ~IKxTunerSetupTuningData() = default;
};

struct IKxTunerSetupDvbc : IUnknown {
  DTV_DECLARE_IID("{367C1BC6-A803-4B49-B0A5-FF26CDC81AB0}");
  virtual HRESULT put_CableModulation(LONG modulation) = 0;
  virtual HRESULT put_CableSymbolRate(LONG symbolRate) = 0;
  virtual HRESULT put_CountryCode(LONG code) = 0;

 protected:
  ~IKxTunerSetupDvbc() = default;
};

struct IKxTunerSetupDvbt : IUnknown {
  DTV_DECLARE_IID("{EA23282A-CFAC-4CEF-BC90-078C8DD17FEB}");
  virtual HRESULT put_CountryCode(LONG code) = 0;

 protected:
  ~IKxTunerSetupDvbt() = default;
};

struct IKxTunerSetupAtsc : IUnknown {
  DTV_DECLARE_IID("{E2C07486-A7B9-4A3B-9B61-92FFACC7B92F}");
  // 1 antenna, 2 cable.
  virtual HRESULT put_TunerInput(LONG input) = 0;

 protected:
  ~IKxTunerSetupAtsc() = default;
};

struct IKxTunerSetupDvbs : IUnknown {
  DTV_DECLARE_IID("{20B9FF0E-FDB8-4506-8D86-717936E1C34B}");
  // The graph manager's LNB control, where the host configures the LNBs.
  virtual HRESULT get_LnbControl(IUnknown** control) = 0;

 protected:
  ~IKxTunerSetupDvbs() = default;
};

// Implemented by the host; results are ignored.
struct IKxTunerCallback : IUnknown {
  DTV_DECLARE_IID("{8E0F3A42-5C1D-4B7A-9E26-3D4B7C1A9F05}");
  virtual HRESULT OnChannelFound(BSTR monikerName, IUnknown* channel) = 0;
  virtual HRESULT OnSignalStatistic(BSTR monikerName, LONG quality, LONG strength) = 0;
  virtual HRESULT OnProgress(BSTR monikerName, LONG percent) = 0;
  virtual HRESULT OnFinished(BSTR monikerName) = 0;
  virtual HRESULT OnStatusText(BSTR monikerName, BSTR text) = 0;

 protected:
  ~IKxTunerCallback() = default;
};
