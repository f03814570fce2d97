#pragma once
#include "platform/com/Types.h"

// The system's text for a result code the plug-in uses, without its line
// break; nullptr for any other code.
const char* SystemMessageOf(HRESULT hr);
