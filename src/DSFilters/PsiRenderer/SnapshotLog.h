#pragma once
// Construction and destruction lines of the snapshot objects carry their address.
#include <cstdint>

inline unsigned SnapshotAddress(const void* object) {
  return static_cast<unsigned>(reinterpret_cast<uintptr_t>(object));
}
