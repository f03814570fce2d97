#pragma once
// A push source and a recording renderer for graph tests.
#include <mutex>
#include <string>
#include <vector>

#include "platform/graph/BaseFilter.h"

class CTestSource : public CBaseFilter {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter>;
  CTestSource() : CBaseFilter(u"Test Source", GUID_NULL), m_pin(this, &m_lock) {}
  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int index) override { return index == 0 ? &m_pin : nullptr; }
  HRESULT Push(IMediaSample* sample) { return m_pin.Deliver(sample); }
  CBaseOutputPin& Output() { return m_pin; }
  virtual ~CTestSource() = default;

 private:
  class Pin : public CBaseOutputPin {
   public:
    Pin(CBaseFilter* f, RecursiveLock* l) : CBaseOutputPin(f, l, u"Output") {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override {
      return *type == TransportStreamMediaType() ? S_OK : S_FALSE;
    }
    std::vector<AM_MEDIA_TYPE> OfferedMediaTypes() override { return {TransportStreamMediaType()}; }
  };
  Pin m_pin;
};

class CTestRenderer : public CBaseFilter {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter>;
  CTestRenderer() : CBaseFilter(u"Test Renderer", GUID_NULL), m_pin(this, &m_lock) {}
  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int index) override { return index == 0 ? &m_pin : nullptr; }
  const std::vector<LONG>& Lengths() const { return m_pin.lengths; }
  // What the samples carried, in order; safe while the graph streams.
  std::string Bytes() const {
    std::lock_guard lock(m_pin.bytesMutex);
    return m_pin.bytes;
  }
  bool AtEndOfStream() const { return m_pin.AtEndOfStream(); }
  virtual ~CTestRenderer() = default;

 private:
  class Pin : public CBaseInputPin {
   public:
    Pin(CBaseFilter* f, RecursiveLock* l) : CBaseInputPin(f, l, u"Input") {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override {
      return type->majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
    }
    HRESULT Receive(IMediaSample* sample) override {
      const HRESULT hr = CBaseInputPin::Receive(sample);
      if (hr == S_OK) {
        lengths.push_back(sample->GetActualDataLength());
        uint8_t* data = nullptr;
        sample->GetPointer(&data);
        std::lock_guard lock(bytesMutex);
        bytes.append(reinterpret_cast<const char*>(data), static_cast<size_t>(sample->GetActualDataLength()));
      }
      return hr;
    }
    std::vector<LONG> lengths;
    mutable std::mutex bytesMutex;
    std::string bytes;
  };
  Pin m_pin;
};

inline ComPtr<IPin> PinOf(IBaseFilter* filter, const char16_t* id) {
  ComPtr<IPin> pin;
  filter->FindPin(id, pin.Put());
  return pin;
}
