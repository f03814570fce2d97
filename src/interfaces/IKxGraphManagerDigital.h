#pragma once
// The host interfaces the digital graph managers add: channel switching, the
// programme guide, internal objects, audio properties and the device plug-ins.
#include "interfaces/IKxChannel.h"
#include "interfaces/IKxEpgEvents.h"
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

struct IKxGraphManagerChannelControl : IUnknown {
  DTV_DECLARE_IID("{4000E955-641D-494E-BD8A-0B89FC9C464C}");
  virtual HRESULT put_Channel(IKxChannel* channel) = 0;

 protected:
  ~IKxGraphManagerChannelControl() = default;
};

struct IKxEpgManager : IUnknown {
  DTV_DECLARE_IID("{FD08771A-E444-41D8-B1AF-79452F84333B}");
  virtual HRESULT StartEpgScan() = 0;
  virtual HRESULT StopEpgScan() = 0;
  virtual HRESULT get_IsEpgScanCompleted(VARIANT_BOOL* completed) = 0;
  virtual HRESULT get_EpgEvents(IKxEpgEvents** events) = 0;
  virtual HRESULT get_BackgroundEpg(VARIANT_BOOL* enabled) = 0;
  virtual HRESULT put_BackgroundEpg(VARIANT_BOOL enable) = 0;

 protected:
  ~IKxEpgManager() = default;
};

enum KxExtraInfoType : LONG {
  KxExtraInfoType_VideoSourceFilter = 2,
  KxExtraInfoType_ScanningTuner = 3,
  KxExtraInfoType_PsiReaderFilter = 4,
  KxExtraInfoType_FrequencyMap = 5,
  KxExtraInfoType_FindDevicePlugin_CommandTuneRequestDvbs = 9,
  KxExtraInfoType_FindDevicePlugin_CommandTuneRequestDvbt = 10,
  KxExtraInfoType_FindDevicePlugin_CommandTuneRequestDvbc = 11,
  KxExtraInfoType_FindDevicePlugin_CommandTuneRequestAtsc = 12,
};

struct IKxGraphManagerExtraInfo : IUnknown {
  DTV_DECLARE_IID("{9D8BA4C0-D74B-443C-987E-B9F400840783}");
  virtual HRESULT get_ExtraInfo(LONG type, IUnknown** info) = 0;

 protected:
  ~IKxGraphManagerExtraInfo() = default;
};

enum KxAudioProperty : LONG {
  KxAudioProperty_Enable = 1,
  KxAudioProperty_Mono = 2,
  KxAudioProperty_MixLevel = 3,
  KxAudioProperty_Pan = 4,
  KxAudioProperty_Loudness = 5,
  KxAudioProperty_Treble = 6,
  KxAudioProperty_Bass = 7,
  KxAudioProperty_Volume = 8,
  KxAudioProperty_Balance = 9,
};

struct IKxGraphManagerAudioPropertyControl : IUnknown {
  DTV_DECLARE_IID("{AC7C3747-1B4E-4437-81CE-8A40F95A4947}");
  virtual HRESULT get_IsAudioPropertySupported(LONG id, VARIANT_BOOL* supported) = 0;
  virtual HRESULT put_AudioInputIndex(LONG index) = 0;
  virtual HRESULT get_AudioPropertyRange(LONG id, LONG* min, LONG* max, LONG* step) = 0;
  virtual HRESULT get_AudioPropertyDefault(LONG id, LONG* value) = 0;
  virtual HRESULT get_AudioProperty(LONG id, LONG* value) = 0;
  virtual HRESULT put_AudioProperty(LONG id, LONG value) = 0;
  virtual HRESULT get_AudioPropertyAuto(LONG id, VARIANT_BOOL* value) = 0;
  virtual HRESULT put_AudioPropertyAuto(LONG id, VARIANT_BOOL value) = 0;

 protected:
  ~IKxGraphManagerAudioPropertyControl() = default;
};

// The device plug-ins loaded for the graph, by index, and the one that
// serves a capability.
struct IKxDevicePluginControl : IUnknown {
  DTV_DECLARE_IID("{C762AC86-C61E-416B-94E6-EBF5663DF580}");
  virtual HRESULT get_DevicePluginCount(LONG* count) = 0;
  virtual HRESULT get_DevicePluginCapabilities(LONG index, LONG* caps) = 0;
  virtual HRESULT get_DevicePluginDescription(LONG index, BSTR* text) = 0;
  virtual HRESULT get_DevicePluginManufacturer(LONG index, BSTR* text) = 0;
  virtual HRESULT get_DevicePluginFileName(LONG index, BSTR* text) = 0;
  virtual HRESULT FindDevicePlugin(LONG capability, IUnknown** plugin) = 0;

 protected:
  ~IKxDevicePluginControl() = default;
};
