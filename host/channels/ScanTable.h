#pragma once
// An initial-tuning file of dtv-scan-tables (libdvbv5 format, one entry per
// transponder) as the tuning data XML a scan takes: one "Network" (for
// satellites one "Satellite" at its position) named after the file.
#include <optional>
#include <string>
#include <vector>

#include "channels/Dvbv5Text.h"

// `name` is the file's name ("de-Berlin", "S19.2E"); nothing with `error`
// when the entries mix delivery systems or lack a frequency.
std::optional<std::string> TuningDataXmlOfScanTable(const std::vector<Dvbv5Entry>& entries, const std::string& name,
                                                    std::string& error);
// "192E" for the dtv-scan-tables name "S19.2E"; nothing for other names.
std::optional<std::string> SatellitePositionOfName(const std::string& name);
