#pragma once
// The options that shape the hardware configuration, shared by every command
// that opens devices.
#include <CLI/CLI.hpp>
#include <memory>

#include "hwconfig/HWConfig.h"

std::shared_ptr<HWConfigOptions> AddHardwareOptions(CLI::App* command);
