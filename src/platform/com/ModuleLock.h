#pragma once
// The module's lock count: every live component object of this module counts
// once, so the module may be unloaded only at zero.
#include <atomic>

#include "platform/com/Types.h"

class ModuleLock {
 public:
  static void Increment() { Count().fetch_add(1, std::memory_order_relaxed); }
  static void Decrement() { Count().fetch_sub(1, std::memory_order_acq_rel); }
  static LONG Value() { return Count().load(std::memory_order_acquire); }

 private:
  static std::atomic<LONG>& Count();
};
