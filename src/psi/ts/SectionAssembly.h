#pragma once
// Per-PID state of the section assembler.
#include <cstdint>

#include "psi/ts/BufferT.h"
#include "psi/ts/PsiSectionHandler.h"

struct SectionAssembly {
  enum State : int32_t { kIdle = 0, kCollecting = 1 };

  IPsiSectionHandler* handler = nullptr;  // not owned
  int32_t state = kIdle;
  CBufferT<8192> buffer;  // bytes of the section under assembly
  uint16_t pid = 0xFFFF;
  uint32_t expected = 0;  // section_length + 3, 0 while the length bytes are missing
  int32_t lastCounter = -1;  // continuity_counter of the last payload packet, -1 before the first
  bool repeated = false;     // the last packet was the one duplicate MPEG-2 allows
};
