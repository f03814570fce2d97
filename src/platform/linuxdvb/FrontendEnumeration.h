#pragma once
// Finds the DVB frontends under a device root and asks each what it receives.
#include <optional>
#include <string>
#include <vector>

#include "platform/bda/DeliverySystem.h"
#include "platform/linuxdvb/FrontendIo.h"

struct LinuxDvbFrontend {
  std::string path;  // <root>/dvb/adapterN/frontendM, also the moniker name
  int adapter = 0;
  int frontend = 0;
  std::string name;  // the driver's frontend name
  std::vector<DeliverySystem> systems;
};

// Why a frontend was left out: `error` is the errno of the failed call (0
// when the frontend answered but receives nothing we know).
struct FrontendProblem {
  std::string path;
  int error = 0;
  std::string reason;  // "could not be opened: Permission denied"
};

// Every frontend under `devRoot` (normally "/dev") ordered by adapter and
// frontend number. A frontend that cannot be opened or asked is left out
// with a log line.
std::vector<LinuxDvbFrontend> EnumerateFrontends(const std::string& devRoot, FrontendIo& io,
                                                 std::vector<FrontendProblem>* problems = nullptr);

// Asks one frontend; nothing when it cannot be opened or answers no known
// delivery system.
std::optional<LinuxDvbFrontend> QueryFrontend(const std::string& path, FrontendIo& io,
                                              FrontendProblem* problem = nullptr);

// Adapter and frontend numbers of ".../adapterN/frontendM".
bool ParseFrontendPath(const std::string& path, int& adapter, int& frontend);
