#include "GraphManager/ObserverSchedule.h"

#include <algorithm>

namespace {
struct Plan {
  int64_t first;
  int64_t interval;
};
// By check: first countdown and interval; the interval is also the cap.
constexpr std::array<Plan, 4> kPlans{{{1000, 5000}, {2000, 10000}, {1000, 3000}, {300, 300}}};
}  // namespace

void CObserverSchedule::Reset() {
  for (size_t i = 0; i < m_timers.size(); ++i) m_timers[i] = {kPlans[i].first, kPlans[i].interval};
}

void CObserverSchedule::Elapse(int64_t ms) {
  for (Timer& timer : m_timers) timer.countdown -= ms;
}

void CObserverSchedule::Finish(ObserverCheck check, int64_t takenMs) {
  Elapse(takenMs);
  Timer& timer = At(check);
  if (timer.interval <= takenMs)
    timer.interval = takenMs + 100;
  else
    timer.interval = std::min(timer.interval, kPlans[static_cast<size_t>(check)].interval);
  timer.countdown = timer.interval;
}
