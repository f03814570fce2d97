#pragma once
// Failures of the host: a message for the user of the dtv command.
#include <stdexcept>
#include <string>

#include "platform/com/Types.h"

class HostError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws HostError naming `call` and the result code when `hr` failed.
void CheckResult(HRESULT hr, const std::string& call);
