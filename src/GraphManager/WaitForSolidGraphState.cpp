#include "GraphManager/WaitForSolidGraphState.h"

#include <algorithm>

HRESULT WaitForSolidGraphState(const GraphStateQuery& query) {
  HRESULT hr = VFW_S_STATE_INTERMEDIATE;
  for (int t = 10000; t >= 0; t -= 10) {
    FILTER_STATE state = State_Stopped;
    hr = query(static_cast<uint32_t>(std::min(t, 10)), &state);
    if (hr != VFW_S_STATE_INTERMEDIATE) return hr;
  }
  return hr;
}
