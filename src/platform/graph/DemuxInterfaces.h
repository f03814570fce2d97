#pragma once
// The MPEG-2 demultiplexer's control interfaces: output pins by name, and the
// PIDs each output pin delivers.
#include <vector>

#include "platform/graph/GraphInterfaces.h"

enum MEDIA_SAMPLE_CONTENT {
  MEDIA_TRANSPORT_PACKET = 0,   // whole 188-byte packets
  MEDIA_ELEMENTARY_STREAM = 1,  // the payload of the PES packets
  MEDIA_MPEG2_PSI = 2,
  MEDIA_TRANSPORT_PAYLOAD = 3,
};

struct PID_MAP {
  ULONG ulPID = 0;
  MEDIA_SAMPLE_CONTENT MediaSampleContent = MEDIA_TRANSPORT_PACKET;
  friend bool operator==(const PID_MAP&, const PID_MAP&) = default;
};

struct IMpeg2Demultiplexer : IUnknown {
  DTV_DECLARE_IID("{436EEE9C-264F-4242-90E1-4E330C107512}");
  virtual HRESULT CreateOutputPin(const AM_MEDIA_TYPE* type, const char16_t* name, IPin** pin) = 0;
  virtual HRESULT SetOutputPinMediaType(const char16_t* name, const AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT DeleteOutputPin(const char16_t* name) = 0;
};

// Answered by the demultiplexer's output pins.
struct IMPEG2PIDMap : IUnknown {
  DTV_DECLARE_IID("{AFB6C2A1-2C41-11D3-8A60-0000F81E0E4A}");
  virtual HRESULT MapPID(ULONG count, const ULONG* pids, MEDIA_SAMPLE_CONTENT content) = 0;
  virtual HRESULT UnmapPID(ULONG count, const ULONG* pids) = 0;
  virtual HRESULT EnumPIDMap(std::vector<PID_MAP>* map) = 0;
};
