#pragma once
// dtv watch (the channel's transport stream on standard output) and dtv
// record (into a file).
#include <CLI/CLI.hpp>

#include "HostOptions.h"

void AddWatchCommand(CLI::App& app, const HostOptions& options);
void AddRecordCommand(CLI::App& app, const HostOptions& options);
