#pragma once
#include <CLI/CLI.hpp>

// `dtv analyze FILE.ts [--atsc] [--json]`: the channels of a recorded stream.
void AddAnalyzeCommand(CLI::App& app);
