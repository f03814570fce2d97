#include "Devices/DeviceType.h"

#include "DSH/DSH.h"
#include "logging/LogFile.h"
#include "platform/bda/Topology.h"
#include "platform/com/ComPtr.h"

namespace {
static constexpr const char* kLogFile = "KxSystemConfiguration";

struct NodeType {
  const GUID& function;
  LONG type;
};
const NodeType kNodeTypes[] = {
    {KSNODE_BDA_COFDM_DEMODULATOR, KxCaptureDeviceType_Dvbt},
    {KSNODE_BDA_QPSK_DEMODULATOR, KxCaptureDeviceType_Dvbs},
    {KSNODE_BDA_QAM_DEMODULATOR, KxCaptureDeviceType_Dvbc},
    {KSNODE_BDA_8VSB_DEMODULATOR, KxCaptureDeviceType_Atsc},
};

// Traces a failure with the text of its call.
HRESULT Traced(HRESULT hr, const char* expression) {
  if (FAILED(hr)) traceFailure(hr, expression, kLogFile);
  return hr;
}

HRESULT DetectFromFilter(BSTR bstrMonikerName, LONG& type) {
  ComPtr<IUnknown> pFilter;
  HRESULT hr = Traced(DSH::CreateFilterByMonikerName(bstrMonikerName, pFilter.Put()),
                      "(hr) = (DSH::CreateFilterByMonikerName(bstrMonikerName, &pFilter))");
  if (FAILED(hr)) return hr;
  ComPtr<IBDA_Topology> pBDATopology;
  hr = pFilter.As(pBDATopology);
  if (FAILED(hr)) return hr;
  ULONG ulcNodeDescriptors = 0;
  BDANODE_DESCRIPTOR rgNodeDescriptors[10];
  hr = Traced(pBDATopology->GetNodeDescriptors(&ulcNodeDescriptors, 10, rgNodeDescriptors),
              "(hr) = (pBDATopology->GetNodeDescriptors(&ulcNodeDescriptors, 10, rgNodeDescriptors))");
  if (FAILED(hr)) return hr;
  for (ULONG i = 0; i < ulcNodeDescriptors && i < 10; ++i)
    for (const NodeType& node : kNodeTypes)
      if (rgNodeDescriptors[i].guidFunction == node.function) {
        type = node.type;
        return S_OK;
      }
  return S_OK;
}
}  // namespace

const char* DeviceTypeName(LONG type) {
  switch (type) {
    case KxCaptureDeviceType_Atsc: return "Atsc";
    case KxCaptureDeviceType_Dvbt: return "Dvbt";
    case KxCaptureDeviceType_Dvbs: return "Dvbs";
    case KxCaptureDeviceType_Dvbc: return "Dvbc";
    default: return "???";
  }
}

LONG DetectDeviceType(BSTR monikerName) {
  LONG type = 0;
  return SUCCEEDED(DetectFromFilter(monikerName, type)) ? type : 0;
}
