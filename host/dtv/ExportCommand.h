#pragma once
#include <CLI/CLI.hpp>

#include "HostOptions.h"

// `dtv export --format dvbv5|vdr|m3u|xmltv-channels [-o FILE]`: the stored
// channels in another program's file format.
void AddExportCommand(CLI::App& app, const HostOptions& options);
