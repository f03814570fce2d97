#pragma once
// Drives the manual clock for a worker paced by it: advances in steps until
// the worker has done what the test waits for.
#include <chrono>
#include <functional>
#include <thread>

#include "platform/sync/Clock.h"

// False when `done` did not come true within a real-time bound far above
// any normal run, so that a fault fails the test instead of hanging it.
inline bool AdvanceUntil(ManualClock& clock, uint32_t stepMs, const std::function<bool()>& done) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!done()) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    clock.Advance(stepMs);
    std::this_thread::yield();
  }
  return true;
}
