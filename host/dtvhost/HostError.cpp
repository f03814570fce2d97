#include "dtvhost/HostError.h"

#include <fmt/format.h>

void CheckResult(HRESULT hr, const std::string& call) {
  if (FAILED(hr)) throw HostError(fmt::format("{} failed: HRESULT=0x{:08X}", call, static_cast<uint32_t>(hr)));
}
