#pragma once
// When the observer's checks are due: per check a countdown and an interval
// in milliseconds. Not locked; the observer guards it.
#include <array>
#include <cstddef>
#include <cstdint>

enum class ObserverCheck { Signal, Scrambled, GraphEvent, VideoFormat };

class CObserverSchedule {
 public:
  CObserverSchedule() { Reset(); }

  // Every countdown to its first value, every interval to its initial one.
  void Reset();
  bool IsDue(ObserverCheck check) const { return At(check).countdown < 1; }
  // An idle pass of `ms`.
  void Elapse(int64_t ms);
  // A timed check took `takenMs`: that time passes for every check, then the
  // check is re-armed. A check that took at least its interval is next due
  // after the time it took plus 100 ms.
  void Finish(ObserverCheck check, int64_t takenMs);
  // The graph event check is not timed: it comes round again after its interval.
  void Restart(ObserverCheck check) { At(check).countdown = At(check).interval; }

  int64_t Countdown(ObserverCheck check) const { return At(check).countdown; }
  int64_t Interval(ObserverCheck check) const { return At(check).interval; }

 private:
  struct Timer {
    int64_t countdown;
    int64_t interval;
  };
  Timer& At(ObserverCheck check) { return m_timers[static_cast<size_t>(check)]; }
  const Timer& At(ObserverCheck check) const { return m_timers[static_cast<size_t>(check)]; }

  std::array<Timer, 4> m_timers{};
};
