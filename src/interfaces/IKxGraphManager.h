#pragma once
// The graph manager as the host drives it: building and running the graph,
// and the settings that shape the graph before it is built.
#include <cstdint>

#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

// A window of the host's windowing system; opaque to the plug-in.
using HWND = void*;

enum KxGraphType : LONG {
  KxGraphType_Playback = 1,
  KxGraphType_Capture = 2,
  KxGraphType_Mpeg = 3,
  KxGraphType_Avi = 4,
  KxGraphType_Dv = 5,
  KxGraphType_Wav = 6,
  KxGraphType_Wmv = 7,
};

enum KxOutputTargetKind : LONG {
  KxOutputTarget_SinkFilter = 1,
  KxOutputTarget_TransportStreamCallback = 2,
  KxOutputTarget_Stream = 3,
};

struct IKxGraphManager : IUnknown {
  DTV_DECLARE_IID("{7AB51FFE-C622-4552-9A27-8A45AD4B294F}");
  virtual HRESULT BuildGraph(LONG graphType) = 0;
  virtual HRESULT DeleteGraph() = 0;
  virtual HRESULT StartGraph() = 0;
  virtual HRESULT PauseGraph() = 0;
  virtual HRESULT StopGraph() = 0;
  virtual HRESULT get_IsGraphBuilt(VARIANT_BOOL* built) = 0;
  virtual HRESULT get_IsGraphRunning(VARIANT_BOOL* running) = 0;
  virtual HRESULT get_IsGraphPaused(VARIANT_BOOL* paused) = 0;
  virtual HRESULT get_IsGraphStopped(VARIANT_BOOL* stopped) = 0;
  virtual HRESULT RebuildGraph(LONG graphType) = 0;

 protected:
  ~IKxGraphManager() = default;
};

struct IKxGraphManagerSetup : IUnknown {
  DTV_DECLARE_IID("{C73B96A4-0FCC-43A0-832A-D1F57DB456AD}");
  virtual HRESULT put_AudioDevice(IUnknown* device) = 0;
  virtual HRESULT put_OutputTarget(LONG kind, VARIANT target) = 0;
  virtual HRESULT put_CaptureFilePath(BSTR path) = 0;
  virtual HRESULT put_VideoRenderer(VARIANT_BOOL enable, HWND window) = 0;
  virtual HRESULT put_AudioRenderer(VARIANT_BOOL enable) = 0;

 protected:
  ~IKxGraphManagerSetup() = default;
};

struct IKxGraphManagerSetup2 : IKxGraphManagerSetup {
  DTV_DECLARE_IID("{DD0F6B27-4751-4E17-9DFD-CF66CEF04B48}");
  virtual HRESULT put_VideoRenderer2(LONG type, HWND window) = 0;
  virtual HRESULT put_AudioRenderer2(LONG type) = 0;

 protected:
  ~IKxGraphManagerSetup2() = default;
};

struct IKxGraphManagerSetup3 : IKxGraphManagerSetup2 {
  DTV_DECLARE_IID("{E6759CC0-C694-4B2C-A7ED-81F62CEA7755}");
  // The same as put_VideoRenderer and put_VideoRenderer2.
  virtual HRESULT put_VideoRenderer3(VARIANT_BOOL enable, HWND window) = 0;
  virtual HRESULT put_VideoRenderer4(LONG type, HWND window) = 0;

 protected:
  ~IKxGraphManagerSetup3() = default;
};

struct IKxGraphManagerSetup3PCodec : IUnknown {
  DTV_DECLARE_IID("{36EC1615-AEE9-4705-B236-E72475B9E142}");
  virtual HRESULT put_VideoCodec(BSTR monikerName) = 0;
  virtual HRESULT put_AudioCodec(BSTR monikerName) = 0;
  virtual HRESULT put_VideoCodecConfig(LONG size, const uint8_t* data) = 0;
  virtual HRESULT put_AudioCodecConfig(LONG size, const uint8_t* data) = 0;
  virtual HRESULT put_CodecSetting20(LONG value) = 0;
  virtual HRESULT put_CodecSetting21(LONG value) = 0;
  virtual HRESULT put_CodecSetting25(LONG low, LONG high) = 0;
  virtual HRESULT put_CodecSetting26(LONG low, LONG high) = 0;
  virtual HRESULT put_CodecSetting22(LONG value) = 0;
  virtual HRESULT put_CodecSettings23And24(LONG value23, LONG value24) = 0;

 protected:
  ~IKxGraphManagerSetup3PCodec() = default;
};

struct IKxGraphManagerOutputSetup : IUnknown {
  DTV_DECLARE_IID("{A6CC5B72-5D14-4216-9FAD-7ACD1ECE4462}");
  virtual HRESULT put_OutputProperty(LONG id, VARIANT value) = 0;
  virtual HRESULT get_OutputProperty(LONG id, VARIANT* value) = 0;

 protected:
  ~IKxGraphManagerOutputSetup() = default;
};
