#pragma once
// The host's view of the elementary streams of a channel and of the running
// decoders.
#include <cstdint>

#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

// Kinds reported by get_StreamType.
enum KxPidKind : LONG {
  KxPidKind_Other = 0,
  KxPidKind_Video = 1,
  KxPidKind_Audio = 2,
  KxPidKind_Teletext = 3,
  KxPidKind_Pmt = 4,
};

struct IKxPidInfo : IUnknown {
  DTV_DECLARE_IID("{E143B657-01F8-45D5-8039-5E05C461D05C}");
  virtual HRESULT put_Pid(LONG lPid) = 0;
  virtual HRESULT get_Pid(LONG* plPid) = 0;
  // The MPEG stream type.
  virtual HRESULT put_Type(LONG lType) = 0;
  virtual HRESULT get_Type(LONG* plType) = 0;
  // The kind (KxPidKind).
  virtual HRESULT get_StreamType(LONG* plStreamType) = 0;

 protected:
  ~IKxPidInfo() = default;
};

struct IKxVideoPidInfo : IKxPidInfo {
  DTV_DECLARE_IID("{83CABE93-BD34-4B42-858D-BBD31F9245B4}");

 protected:
  ~IKxVideoPidInfo() = default;
};

struct IKxAudioPidInfo : IKxPidInfo {
  DTV_DECLARE_IID("{1CC4C75E-1B29-45A0-A696-5D401CFDCA72}");
  virtual HRESULT put_Iso639Language(BSTR bstrLanguage) = 0;
  virtual HRESULT get_Iso639Language(BSTR* pbstrLanguage) = 0;
  virtual HRESULT put_Ac3(VARIANT_BOOL bAc3) = 0;
  virtual HRESULT get_Ac3(VARIANT_BOOL* pbAc3) = 0;

 protected:
  ~IKxAudioPidInfo() = default;
};

struct IKxTeletextPidInfo : IKxPidInfo {
  DTV_DECLARE_IID("{ECAE4265-0C22-4601-A0C2-303F741E4891}");
  virtual HRESULT put_Iso639Language(BSTR bstrLanguage) = 0;
  virtual HRESULT get_Iso639Language(BSTR* pbstrLanguage) = 0;
  virtual HRESULT put_TeletextType(LONG lType) = 0;
  virtual HRESULT get_TeletextType(LONG* plType) = 0;
  virtual HRESULT put_MagazineNumber(LONG lNumber) = 0;
  virtual HRESULT get_MagazineNumber(LONG* plNumber) = 0;
  virtual HRESULT put_PageNumber(LONG lNumber) = 0;
  virtual HRESULT get_PageNumber(LONG* plNumber) = 0;

 protected:
  ~IKxTeletextPidInfo() = default;
};

struct IKxPmtPidInfo : IKxPidInfo {
  DTV_DECLARE_IID("{B76077CC-5897-44F0-825B-35AAC787DECE}");

 protected:
  ~IKxPmtPidInfo() = default;
};

struct IKxEnumPidInfo : IUnknown {
  DTV_DECLARE_IID("{C912F878-780E-4FDF-99BD-95AA8B1C87EF}");
  virtual HRESULT Next(ULONG celt, IKxPidInfo** rgelt, ULONG* pceltFetched) = 0;
  virtual HRESULT Skip(ULONG celt) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IKxEnumPidInfo** ppEnum) = 0;

 protected:
  ~IKxEnumPidInfo() = default;
};

struct IKxVideoInfo : IUnknown {
  DTV_DECLARE_IID("{A5BFFDA0-2B33-4D54-ABAB-A75A31CE2F4A}");
  // In 100 ns units.
  virtual HRESULT get_FrameDuration(int64_t* pllDuration) = 0;
  virtual HRESULT get_Width(LONG* plWidth) = 0;
  virtual HRESULT get_Height(LONG* plHeight) = 0;
  virtual HRESULT get_AspectRatioX(LONG* plX) = 0;
  virtual HRESULT get_AspectRatioY(LONG* plY) = 0;

 protected:
  ~IKxVideoInfo() = default;
};

struct IKxAudioInfo : IUnknown {
  DTV_DECLARE_IID("{7E782686-C923-42A4-9D44-2A761EFE0FF2}");
  virtual HRESULT get_AvgBytesPerSec(LONG* plValue) = 0;
  virtual HRESULT get_Channels(LONG* plValue) = 0;
  virtual HRESULT get_SamplesPerSec(LONG* plValue) = 0;
  virtual HRESULT get_BitsPerSample(LONG* plValue) = 0;

 protected:
  ~IKxAudioInfo() = default;
};
