#pragma once
// Waits until a graph has finished changing state.
#include <cstdint>
#include <functional>

#include "platform/graph/GraphInterfaces.h"

// Asks the graph's state with a wait of `waitMs`.
using GraphStateQuery = std::function<HRESULT(uint32_t waitMs, FILTER_STATE* state)>;

// Asks for t = 10 000, 9 990, ..., 0 ms with a wait of min(t, 10) ms each and
// returns the first answer that is not intermediate, bounding the wait at
// about 10 s; after the last step the intermediate answer.
HRESULT WaitForSolidGraphState(const GraphStateQuery& query);
