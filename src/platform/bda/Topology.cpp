#include "platform/bda/Topology.h"

HRESULT CBdaTopology::GetNodeTypes(ULONG* count, ULONG maxCount, ULONG types[]) {
  if (!count || (maxCount && !types)) return E_POINTER;
  *count = static_cast<ULONG>(std::min<size_t>(m_functions.size(), maxCount));
  for (ULONG i = 0; i < *count; ++i) types[i] = i;
  return S_OK;
}

HRESULT CBdaTopology::GetNodeDescriptors(ULONG* count, ULONG maxCount, BDANODE_DESCRIPTOR descriptors[]) {
  if (!count || (maxCount && !descriptors)) return E_POINTER;
  *count = static_cast<ULONG>(std::min<size_t>(m_functions.size(), maxCount));
  for (ULONG i = 0; i < *count; ++i) descriptors[i] = BDANODE_DESCRIPTOR{i, m_functions[i], m_functions[i]};
  return S_OK;
}
