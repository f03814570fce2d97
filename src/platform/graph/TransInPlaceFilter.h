#pragma once
// A filter that changes samples where they are and passes them on: one input,
// one output carrying the input's media type.
#include "platform/graph/BaseFilter.h"

class CTransInPlaceFilter : public CBaseFilter {
 public:
  CTransInPlaceFilter(std::u16string name, const CLSID& clsid);

  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int index) override;

  // Changes the sample in place; S_OK passes it on.
  virtual HRESULT Transform(IMediaSample* sample) = 0;
  // Which input types the filter takes (all by default).
  virtual HRESULT CheckInputType(const AM_MEDIA_TYPE*) { return S_OK; }

 private:
  class InputPin : public CBaseInputPin {
   public:
    explicit InputPin(CTransInPlaceFilter* filter);
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;
    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

   private:
    CTransInPlaceFilter* m_owner;
  };
  class OutputPin : public CBaseOutputPin {
   public:
    explicit OutputPin(CTransInPlaceFilter* filter);
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
    std::vector<AM_MEDIA_TYPE> OfferedMediaTypes() override;

   private:
    CTransInPlaceFilter* m_owner;
  };

  InputPin m_input;
  OutputPin m_output;
};
