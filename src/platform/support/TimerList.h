#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Clock.h"
#include "platform/EventLoop.h"

namespace quillon::platform {

// The timers of one event loop, due at counter readings of its clock. Due timers fire in the
// order of their due times, ties in the order they were scheduled. The next tick is scheduled
// before a handler runs, so a handler that disables its timer stops it and one that enables it
// again does not restart it.
class TimerList {
 public:
  explicit TimerList(const Clock& clock) : TheClock(clock) {}
  TimerList(const TimerList&) = delete;
  TimerList& operator=(const TimerList&) = delete;

  // A timer of this list; it must not outlive the list.
  std::unique_ptr<Timer> Create(std::function<void()> onTick);

  // The earliest due time of an enabled timer.
  std::optional<std::int64_t> NextDue() const;

  // Fires the earliest timer due at or before `until`; false when there is none. `reachDue` is
  // called with its due time first (virtual time moves the clock there). With `skipMissed`
  // ticks that fell behind the clock are dropped rather than made up in a burst.
  bool FireNextDue(std::int64_t until, const std::function<void(std::int64_t)>& reachDue,
                   bool skipMissed);

 private:
  class ListedTimer;

  void Schedule(ListedTimer& timer);
  void Forget(const ListedTimer& timer);
  ListedTimer* Earliest(std::int64_t until) const;

  const Clock& TheClock;
  std::vector<ListedTimer*> Timers;
  std::uint64_t Sequence = 0;
};

}  // namespace quillon::platform
