#pragma once
// Notifications a graph manager sends the host unasked, and the interface
// through which the host registers for them.
#include <cstdint>

#include "interfaces/IKxEpgEvents.h"
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

enum KxCallbackType : LONG {
  KxCallbackType_Camcorder = 3,
  KxCallbackType_Signal = 4,
  KxCallbackType_Scrambled = 5,
  KxCallbackType_EpgEvents = 6,
  KxCallbackType_AudioSample = 7,
  KxCallbackType_FilterGraphEvent = 8,
};

// The platform's audio format description (18 bytes, no padding).
#pragma pack(push, 1)
struct WAVEFORMATEX {
  uint16_t wFormatTag;
  uint16_t nChannels;
  uint32_t nSamplesPerSec;
  uint32_t nAvgBytesPerSec;
  uint16_t nBlockAlign;
  uint16_t wBitsPerSample;
  uint16_t cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);

struct IKxCallbackControl : IUnknown {
  DTV_DECLARE_IID("{EFD3150E-A83B-4224-A3DE-61E8BC940607}");
  virtual HRESULT RegisterCallback(LONG type, IUnknown* callback, LONG* cookie) = 0;
  virtual HRESULT UnregisterCallback(LONG cookie) = 0;
  virtual HRESULT UnregisterCallbackObject(IUnknown* callback) = 0;

 protected:
  ~IKxCallbackControl() = default;
};

struct IKxCamcorderCallback : IUnknown {
  DTV_DECLARE_IID("{7F76ECFF-7850-4FAD-A598-682523A0C0CA}");
  virtual HRESULT OnCamcorderStateUpdate(BSTR deviceName, LONG state, LONG value) = 0;
  virtual HRESULT OnCamcorderMediaUpdate(BSTR deviceName, VARIANT_BOOL mediaPresent) = 0;
  virtual HRESULT OnCamcorderModeUpdate(BSTR deviceName, LONG mode) = 0;

 protected:
  ~IKxCamcorderCallback() = default;
};

struct IKxSignalCallback : IUnknown {
  DTV_DECLARE_IID("{E0A5AFA5-0C3A-44ED-A958-F31A98B200B9}");
  virtual HRESULT OnSignalUpdate(BSTR deviceName, VARIANT_BOOL locked, LONG quality, LONG strength) = 0;

 protected:
  ~IKxSignalCallback() = default;
};

struct IKxScrambledCallback : IUnknown {
  DTV_DECLARE_IID("{F8751685-2A87-4186-AB6D-A9B88B98FE54}");
  virtual HRESULT OnScrambledUpdate(BSTR deviceName, VARIANT_BOOL scrambled) = 0;

 protected:
  ~IKxScrambledCallback() = default;
};

struct IKxEpgEventsCallback : IUnknown {
  DTV_DECLARE_IID("{E1DBC1EE-629E-49B7-93F0-70F203F6CB32}");
  virtual HRESULT OnEpgEvents(BSTR deviceName, IKxEpgEvents* events) = 0;

 protected:
  ~IKxEpgEventsCallback() = default;
};

struct IKxAudioSampleCallback : IUnknown {
  DTV_DECLARE_IID("{BF9C48EB-9BD2-4452-B5CF-CE859D4BD6C8}");
  virtual HRESULT OnAudioSample(BSTR deviceName, const uint8_t* data, LONG size, const WAVEFORMATEX* format,
                                LONG formatSize) = 0;

 protected:
  ~IKxAudioSampleCallback() = default;
};

struct IKxFilterGraphEventCallback : IUnknown {
  DTV_DECLARE_IID("{E05DEF14-3D77-40D7-97F6-204EEC4851C1}");
  virtual HRESULT OnFilterGraphEvent(BSTR deviceName, LONG code, intptr_t param1, intptr_t param2, LONG reserved1,
                                     LONG reserved2) = 0;

 protected:
  ~IKxFilterGraphEventCallback() = default;
};
