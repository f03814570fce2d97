#pragma once
// Which callback types a graph manager accepts.
#include "interfaces/IKxCallbackControl.h"

// The digital graph managers serve signal, scrambling, EPG events and graph
// events; camcorder and audio sample callbacks belong to other devices.
constexpr bool IsDigitalCallbackType(LONG type) {
  return type == KxCallbackType_Signal || type == KxCallbackType_Scrambled || type == KxCallbackType_EpgEvents ||
         type == KxCallbackType_FilterGraphEvent;
}
