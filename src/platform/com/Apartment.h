#pragma once
// Per-thread initialisation of the component runtime. Linux needs no
// apartment, but the calls keep their contract: counted per thread, one
// threading model per thread.
#include <cstdint>
#include <optional>

#include "platform/com/Types.h"

constexpr uint32_t COINIT_MULTITHREADED = 0x0;
constexpr uint32_t COINIT_APARTMENTTHREADED = 0x2;
constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106);

// S_OK the first time on a thread, S_FALSE when already initialised with the
// same model, RPC_E_CHANGED_MODE (not counted) for another model.
HRESULT CoInitializeEx(void* reserved, uint32_t flags);
// Undoes one successful CoInitializeEx of this thread.
void CoUninitialize();
// The flags this thread is initialised with, or nothing.
std::optional<uint32_t> CurrentApartmentFlags();
