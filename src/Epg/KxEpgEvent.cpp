#include "Epg/KxEpgEvent.h"

#include <cstdint>

#include "logging/LogFile.h"

CKxEpgEvent::~CKxEpgEvent() {
  log(7, "CKxEpgEvent: Dtor(0x%08x)", static_cast<unsigned>(reinterpret_cast<uintptr_t>(this)));
}
