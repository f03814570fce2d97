#pragma once
#include <CLI/CLI.hpp>

#include "HostOptions.h"

// `dtv info`: the plug-in's name, version and built-in frequency lists.
void AddInfoCommand(CLI::App& app, const HostOptions& options);
