#pragma once
#include <CLI/CLI.hpp>

#include "HostOptions.h"

// `dtv channels [FILE] [--json]`: the stored channel list.
void AddChannelsCommand(CLI::App& app, const HostOptions& options);
