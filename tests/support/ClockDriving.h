#pragma once
// Drives the manual clock for a worker paced by it: advances in steps until
// the worker has done what the test waits for.
#include <chrono>
#include <functional>
#include <thread>

#include "platform/sync/Clock.h"

// False when `done` did not come true within a real-time bound far above
// any normal run, so that a fault fails the test instead of hanging it.
// With `settle`, each step waits until the workers on the clock have seen it,
// so that a slow machine cannot let clock time run ahead of the data (a
// worker's quiet-time rule would then fire early).
inline bool AdvanceUntil(ManualClock& clock, uint32_t stepMs, const std::function<bool()>& done, bool settle = false) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!done()) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    clock.Advance(stepMs);
    if (settle)
      clock.WaitUntilIdle();
    else
      std::this_thread::yield();
  }
  return true;
}
