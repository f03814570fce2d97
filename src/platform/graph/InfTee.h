#pragma once
// The infinite pin tee: one input, and always one free output more than are
// connected; every connected output receives every sample.
#include <memory>
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/graph/BaseFilter.h"

constexpr CLSID CLSID_InfTee = MakeGuid("{F8388A40-D5BB-11D0-BE5A-0080C706568E}");

class CInfTee : public CBaseFilter {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter>;
  CInfTee();
  virtual ~CInfTee() = default;

  int GetPinCount() override;
  CBasePin* GetPin(int index) override;

 private:
  class InputPin : public CBaseInputPin {
   public:
    explicit InputPin(CInfTee* tee) : CBaseInputPin(tee, &tee->m_lock, u"Input"), m_tee(tee) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE*) override { return S_OK; }
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;
    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

   private:
    CInfTee* m_tee;
  };
  class OutputPin : public CBaseOutputPin {
   public:
    OutputPin(CInfTee* tee, int number);
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
    std::vector<AM_MEDIA_TYPE> OfferedMediaTypes() override;
    HRESULT CompleteConnect(IPin* receiver) override;

   private:
    CInfTee* m_tee;
  };

  // The connected outputs, for delivery outside the filter lock.
  std::vector<OutputPin*> ConnectedOutputs();
  template <class Call>
  HRESULT ForEachOutput(Call call);

  InputPin m_input;
  std::vector<std::unique_ptr<OutputPin>> m_outputs;  // under m_lock; pins are never removed
};
