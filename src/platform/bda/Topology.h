#pragma once
// Device topology of a tuner filter: its nodes and what each one does.
#include <algorithm>
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/com/Unknown.h"

struct BDANODE_DESCRIPTOR {
  ULONG ulBdaNodeType;
  GUID guidFunction;
  GUID guidName;
};

// Node functions of the broadcast driver model.
constexpr GUID KSNODE_BDA_RF_TUNER = MakeGuid("{71985F4C-1CA1-11D3-9CC8-00C04F7971E0}");
constexpr GUID KSNODE_BDA_QAM_DEMODULATOR = MakeGuid("{71985F4D-1CA1-11D3-9CC8-00C04F7971E0}");
constexpr GUID KSNODE_BDA_QPSK_DEMODULATOR = MakeGuid("{6390C905-27C1-4D67-BDB7-77C50D079300}");
constexpr GUID KSNODE_BDA_8VSB_DEMODULATOR = MakeGuid("{71985F4F-1CA1-11D3-9CC8-00C04F7971E0}");
constexpr GUID KSNODE_BDA_COFDM_DEMODULATOR = MakeGuid("{2DAC6E05-EDBE-4B9C-B387-1B6FAD7D6495}");

// The device category of network tuners.
constexpr GUID KSCATEGORY_BDA_NETWORK_TUNER = MakeGuid("{71985F48-1CA1-11D3-9CC8-00C04F7971E0}");

struct IBDA_Topology : IUnknown {
  DTV_DECLARE_IID("{79B56888-7FEA-4690-B45D-38FD3C7849BE}");
  virtual HRESULT GetNodeTypes(ULONG* count, ULONG maxCount, ULONG types[]) = 0;
  virtual HRESULT GetNodeDescriptors(ULONG* count, ULONG maxCount, BDANODE_DESCRIPTOR descriptors[]) = 0;
  // The object controlling node `nodeType` between the two pin types: it
  // answers for the node's control interfaces.
  virtual HRESULT GetControlNode(ULONG inputPinType, ULONG outputPinType, ULONG nodeType, IUnknown** node) = 0;

 protected:
  ~IBDA_Topology() = default;
};

// A fixed list of node descriptors, numbered in order: the topology of the
// tuner filters of this platform (a tuner node, then the demodulators).
class CBdaTopology : public IBDA_Topology {
 public:
  explicit CBdaTopology(std::vector<GUID> nodeFunctions) : m_functions(std::move(nodeFunctions)) {}
  virtual ~CBdaTopology() = default;

  HRESULT GetNodeTypes(ULONG* count, ULONG maxCount, ULONG types[]) override;
  HRESULT GetNodeDescriptors(ULONG* count, ULONG maxCount, BDANODE_DESCRIPTOR descriptors[]) override;

 protected:
  const std::vector<GUID>& NodeFunctions() const { return m_functions; }

 private:
  std::vector<GUID> m_functions;
};
