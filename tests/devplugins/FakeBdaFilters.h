#pragma once
// Stand-ins for the graph's network provider (ITuner) and tuner filter
// (topology, device control, a frequency-filter node) that write what they
// are asked into one journal.
#include <string>
#include <vector>

#include "FakeGraphManager.h"
#include "platform/bda/ControlInterfaces.h"
#include "platform/bda/Topology.h"
#include "platform/bda/TuningInterfaces.h"

using Journal = std::vector<std::string>;

class CFakeTuner : public ITuner {
 public:
  using InterfaceMap = ::InterfaceMap<ITuner>;
  explicit CFakeTuner(Journal& journal) : m_journal(journal) {}
  virtual ~CFakeTuner() = default;
  HRESULT get_TuningSpace(ITuningSpace**) override { return E_NOTIMPL; }
  HRESULT put_TuningSpace(ITuningSpace*) override { return E_NOTIMPL; }
  HRESULT get_TuneRequest(ITuneRequest**) override { return E_NOTIMPL; }
  HRESULT put_TuneRequest(ITuneRequest* request) override {
    m_journal.push_back("put_TuneRequest");
    m_requests.push_back(request);
    return m_result;
  }
  HRESULT Validate(ITuneRequest*) override { return E_NOTIMPL; }
  HRESULT get_SignalStrength(LONG*) override { return E_NOTIMPL; }

  std::vector<ComPtr<ITuneRequest>> m_requests;
  HRESULT m_result = S_OK;

 private:
  Journal& m_journal;
};

class CFakeFrequencyFilter : public IBDA_FrequencyFilter {
 public:
  using InterfaceMap = ::InterfaceMap<IBDA_FrequencyFilter>;
  explicit CFakeFrequencyFilter(Journal& journal) : m_journal(journal) {}
  virtual ~CFakeFrequencyFilter() = default;
  HRESULT put_Frequency(ULONG) override { return E_NOTIMPL; }
  HRESULT get_Frequency(ULONG*) override { return E_NOTIMPL; }
  HRESULT put_Polarity(Polarisation) override { return E_NOTIMPL; }
  HRESULT get_Polarity(Polarisation*) override { return E_NOTIMPL; }
  HRESULT put_Range(ULONG range) override {
    m_journal.push_back("put_Range " + std::to_string(range));
    return S_OK;
  }
  HRESULT get_Range(ULONG*) override { return E_NOTIMPL; }
  HRESULT put_Bandwidth(ULONG) override { return E_NOTIMPL; }
  HRESULT get_Bandwidth(ULONG*) override { return E_NOTIMPL; }

 private:
  Journal& m_journal;
};

// Node 0 controls nothing of interest; node 1 is the frequency filter.
class CFakeTunerFilter : public IBDA_Topology, public IBDA_DeviceControl {
 public:
  using InterfaceMap = ::InterfaceMap<IBDA_Topology, IBDA_DeviceControl>;
  explicit CFakeTunerFilter(Journal& journal) : m_journal(journal) {}
  virtual ~CFakeTunerFilter() = default;
  HRESULT GetNodeTypes(ULONG* count, ULONG, ULONG types[]) override {
    types[0] = 0;
    types[1] = 1;
    *count = 2;
    return S_OK;
  }
  HRESULT GetNodeDescriptors(ULONG*, ULONG, BDANODE_DESCRIPTOR[]) override { return E_NOTIMPL; }
  HRESULT GetControlNode(ULONG, ULONG, ULONG nodeType, IUnknown** node) override {
    ++m_controlNodeCalls;
    if (nodeType == 0) return ComObject<CTestFilter>::CreateAndQuery(node);
    return ComObject<CFakeFrequencyFilter>::CreateAndQuery(node, m_journal);
  }
  HRESULT StartChanges() override { return Record("StartChanges"); }
  HRESULT CheckChanges() override { return Record("CheckChanges"); }
  HRESULT CommitChanges() override { return Record("CommitChanges"); }
  HRESULT GetChangeState(ULONG*) override { return E_NOTIMPL; }

  int m_controlNodeCalls = 0;

 private:
  HRESULT Record(const char* call) {
    m_journal.push_back(call);
    return S_OK;
  }
  Journal& m_journal;
};
