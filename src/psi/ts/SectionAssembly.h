#pragma once
// Per-PID state of the section assembler.
#include <cstdint>
#include <vector>

#include "psi/ts/PsiSectionHandler.h"

struct SectionAssembly {
  enum State : int32_t { kIdle = 0, kCollecting = 1 };
  // A section of up to 4096 bytes never reallocates.
  static constexpr size_t kBufferStep = 8192;

  SectionAssembly() { buffer.reserve(kBufferStep); }

  IPsiSectionHandler* handler = nullptr;  // not owned
  int32_t state = kIdle;
  // Bytes of the section under assembly; only the owner's thread touches it,
  // under the owner's lock, so it needs no lock of its own.
  std::vector<uint8_t> buffer;
  uint16_t pid = 0xFFFF;
  uint32_t expected = 0;  // section_length + 3, 0 while the length bytes are missing
  int32_t lastCounter = -1;  // continuity_counter of the last payload packet, -1 before the first
  bool repeated = false;     // the last packet was the one duplicate MPEG-2 allows
};
