#include "DigitalTvPlugin/DigitalTvPluginModule.h"

namespace {
CDigitalTvPluginModule s_module;
}  // namespace
