#pragma once
// Finds the DVB frontends under a device root and asks each what it receives.
#include <optional>
#include <string>
#include <vector>

#include "platform/bda/DeliverySystem.h"
#include "platform/linuxdvb/FrontendIo.h"

// One capture device of a frontend. A frontend that receives systems of
// several families (a DVB-T/T2/C stick) is one device per family, each with
// its moniker: the device path and "#dvb-t", "#dvb-c", ... A frontend of one
// family has the device path as its moniker.
struct LinuxDvbFrontend {
  std::string path;     // <root>/dvb/adapterN/frontendM
  std::string moniker;  // the moniker name
  int adapter = 0;
  int frontend = 0;
  std::string name;  // the driver's frontend name
  std::vector<DeliverySystem> systems;  // of the device's family
};

// Why a frontend was left out: `error` is the errno of the failed call (0
// when the frontend answered but receives nothing we know).
struct FrontendProblem {
  std::string path;
  int error = 0;
  std::string reason;  // "could not be opened: Permission denied"
};

// Every device under `devRoot` (normally "/dev") ordered by adapter and
// frontend number, then by family in the driver's order. A frontend that
// cannot be opened or asked is left out with a log line (and in `problems`).
std::vector<LinuxDvbFrontend> EnumerateFrontends(const std::string& devRoot, FrontendIo& io,
                                                 std::vector<FrontendProblem>* problems = nullptr);

// Asks the frontend of a moniker name; nothing when it cannot be opened or
// answers no known delivery system (of the moniker's family).
std::optional<LinuxDvbFrontend> QueryFrontend(const std::string& moniker, FrontendIo& io,
                                              FrontendProblem* problem = nullptr);

// Adapter and frontend numbers of ".../adapterN/frontendM", with or without
// a family suffix.
bool ParseFrontendPath(const std::string& moniker, int& adapter, int& frontend);

// The family suffix of a delivery system: "dvb-s", "dvb-t", "dvb-c" or "atsc"
// (ATSC and North American cable are one family, as for capture devices).
const char* DeliveryFamily(DeliverySystem system);
