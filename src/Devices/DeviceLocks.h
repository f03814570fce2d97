#pragma once
// The process-wide registry of device-in-use locks, safe to use from any
// thread. A lock is a named lock file ("1_<moniker>" or "2_<moniker>") held
// with flock; it exists for every process of every user while some process
// holds it.
#include <string>

#include "platform/com/BStr.h"

namespace DeviceLocks {
struct Usage {
  bool inUse = false;
  LONG level = 0;  // 2 or 1; 0 when free
  bool lockedHere = false;
};

// The one directory of every user's lock files: /run/lock/vexa, else
// /var/lock/vexa (created with mode 1777; $DTV_LOCK_DIR instead when set),
// else, when neither can be had, the runtime directory ($XDG_RUNTIME_DIR or /tmp).
std::string LockDirectory();
// The lock file of a level: "<dir>/L_<moniker with \ and / as _>", the name
// cut to 259 characters.
std::string LockPath(std::u16string_view moniker, LONG level);

Usage Query(std::u16string_view moniker);
// E_ACCESSDENIED when another process holds the device or this one holds it
// at the same level; a lock of the other level held here is replaced.
HRESULT Lock(const char* owner, BSTR moniker, LONG level);
// S_OK also when the device is not locked here.
HRESULT Unlock(const char* owner, BSTR moniker);
}  // namespace DeviceLocks
