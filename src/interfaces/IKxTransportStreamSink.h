#pragma once
// The recording exit of the graph: the host hands a callback that receives the
// raw transport stream; the graph manager controls delivery.
#include <cstdint>

#include "platform/com/Unknown.h"

struct ITransportStreamSinkCallback : IUnknown {
  DTV_DECLARE_IID("{A22E934B-8297-4F2E-BC44-BE4A23DF6950}");
  // Called on the sink's own thread.
  virtual HRESULT OnData(const uint8_t* data, LONG size) = 0;
  // End of StopDeliver and of StartDeliver.
  virtual HRESULT OnStopDeliver() = 0;
  virtual HRESULT OnStartDeliver() = 0;

 protected:
  ~ITransportStreamSinkCallback() = default;
};

struct IKxTransportStreamSinkControl : IUnknown {
  DTV_DECLARE_IID("{BEC33FBC-FE7C-49E3-8652-7945A9ED412E}");
  virtual HRESULT SetCallback(ITransportStreamSinkCallback* callback) = 0;
  virtual HRESULT StopDeliver() = 0;
  virtual HRESULT StartDeliver() = 0;
  virtual HRESULT EnableSink(VARIANT_BOOL on) = 0;
  virtual HRESULT ClearBuffers() = 0;
  virtual HRESULT EnableBlockingMode(VARIANT_BOOL on) = 0;

 protected:
  ~IKxTransportStreamSinkControl() = default;
};
