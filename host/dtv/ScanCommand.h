#pragma once
// dtv scan: a channel search on one device, saved as the channel list.
#include <CLI/CLI.hpp>

#include "HostOptions.h"

void AddScanCommand(CLI::App& app, const HostOptions& options);
