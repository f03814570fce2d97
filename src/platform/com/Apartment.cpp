#include "platform/com/Apartment.h"

namespace {

thread_local int t_depth = 0;
thread_local uint32_t t_flags = 0;

}  // namespace

HRESULT CoInitializeEx(void*, uint32_t flags) {
  if (t_depth > 0) {
    if ((t_flags & COINIT_APARTMENTTHREADED) != (flags & COINIT_APARTMENTTHREADED)) return RPC_E_CHANGED_MODE;
    ++t_depth;
    return S_FALSE;
  }
  t_flags = flags;
  t_depth = 1;
  return S_OK;
}

void CoUninitialize() {
  if (t_depth > 0) --t_depth;
}

std::optional<uint32_t> CurrentApartmentFlags() {
  if (t_depth == 0) return std::nullopt;
  return t_flags;
}
