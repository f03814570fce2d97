#pragma once
// What the host reads from a graph manager besides building and running:
// signal, scrambling, stream formats, the video window and the watchdog.
#include "interfaces/IKxGraphManager.h"
#include "interfaces/IKxPidInfo.h"
#include "interfaces/IKxTransponderInfo.h"

struct IKxGraphManagerMacrovisionControl : IUnknown {
  DTV_DECLARE_IID("{F8BB4659-8552-4455-8418-9EE5F14CDDC9}");
  virtual HRESULT get_MacrovisionLevel(LONG* level) = 0;

 protected:
  ~IKxGraphManagerMacrovisionControl() = default;
};

struct IKxStreamInfo : IUnknown {
  DTV_DECLARE_IID("{FDFF617C-8E2C-446C-BBCE-02016F032E08}");
  virtual HRESULT get_PidInfos(IKxEnumPidInfo** pidInfos) = 0;

 protected:
  ~IKxStreamInfo() = default;
};

struct IKxGraphManagerSignalControl : IUnknown {
  DTV_DECLARE_IID("{3E6BFDE7-708F-4ABC-876A-14B41D89F5D7}");
  virtual HRESULT get_SignalStatus(VARIANT_BOOL* locked, LONG* quality, LONG* strength) = 0;
  virtual HRESULT get_TransponderInfo(IKxTransponderInfo** info) = 0;

 protected:
  ~IKxGraphManagerSignalControl() = default;
};

struct IKxGraphManagerConditionalAccess : IUnknown {
  DTV_DECLARE_IID("{EC263928-AEAD-4754-9B31-6C4381DDC7B7}");
  virtual HRESULT get_IsScrambled(VARIANT_BOOL* scrambled) = 0;

 protected:
  ~IKxGraphManagerConditionalAccess() = default;
};

struct IKxGraphManagerVideoWindowControl : IUnknown {
  DTV_DECLARE_IID("{106088BF-BF06-4D20-9449-C5E5D2AB707D}");
  virtual HRESULT put_VideoWindowOwner(HWND owner) = 0;
  virtual HRESULT SetWindowPosition(LONG x, LONG y, LONG width, LONG height) = 0;
  virtual HRESULT GetWindowPosition(LONG* x, LONG* y, LONG* width, LONG* height) = 0;
  virtual HRESULT put_FullScreenMode(VARIANT_BOOL fullScreen) = 0;
  virtual HRESULT get_FullScreenMode(VARIANT_BOOL* fullScreen) = 0;

 protected:
  ~IKxGraphManagerVideoWindowControl() = default;
};

struct IKxGraphManagerTimeoutControl : IUnknown {
  DTV_DECLARE_IID("{7D823C44-0883-4E7F-B138-7247AF3FC339}");
  virtual HRESULT put_FilterGraphTimeout(VARIANT_BOOL enable, LONG ms) = 0;
  virtual HRESULT get_FilterGraphTimeout(VARIANT_BOOL* enabled, LONG* ms) = 0;

 protected:
  ~IKxGraphManagerTimeoutControl() = default;
};

struct IKxGraphManagerStreamInfoControl : IUnknown {
  DTV_DECLARE_IID("{76ADB46B-910D-4826-80A9-26E7971C0D59}");
  virtual HRESULT get_VideoInfo(IKxVideoInfo** info) = 0;
  virtual HRESULT get_AudioInfo(IKxAudioInfo** info) = 0;

 protected:
  ~IKxGraphManagerStreamInfoControl() = default;
};
