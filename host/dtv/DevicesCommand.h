#pragma once
#include <CLI/CLI.hpp>

#include "HostOptions.h"

// `dtv devices`: every tuner device the plug-in's system configuration lists.
void AddDevicesCommand(CLI::App& app, HostOptions& options);
