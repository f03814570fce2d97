#pragma once
// dtv epg: the programme guide of a channel's multiplex, or of every stored
// multiplex a device receives.
#include <CLI/CLI.hpp>

#include "HostOptions.h"

void AddEpgCommand(CLI::App& app, const HostOptions& options);
