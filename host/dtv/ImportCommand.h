#pragma once
#include <CLI/CLI.hpp>

#include "HostOptions.h"

// `dtv import FILE [-o OUT]`: a libdvbv5 channel file becomes the stored
// channel list (or OUT); a dtv-scan-tables initial-tuning file becomes tuning
// data XML for a scan (OUT, else standard output).
void AddImportCommand(CLI::App& app, const HostOptions& options);
