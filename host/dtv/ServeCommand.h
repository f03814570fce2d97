#pragma once
// dtv serve: the stored channels, their streams and their programme guide
// for media players and media centres over HTTP.
#include <CLI/CLI.hpp>

#include "HostOptions.h"

void AddServeCommand(CLI::App& app, const HostOptions& options);
