#include "platform/support/TimerList.h"

#include <algorithm>
#include <limits>

namespace quillon::platform {

class TimerList::ListedTimer : public Timer {
 public:
  ListedTimer(TimerList& list, std::function<void()> onTick)
      : List(list), OnTick(std::move(onTick)) {}
  ~ListedTimer() override { List.Forget(*this); }

  void SetInterval(std::uint32_t milliseconds) override {
    IntervalMs = std::max<std::uint32_t>(milliseconds, 1);
    if (Active) List.Schedule(*this);
  }
  std::uint32_t Interval() const override { return IntervalMs; }
  void Enable() override {
    if (Active) return;
    Active = true;
    List.Schedule(*this);
  }
  void Disable() override { Active = false; }
  bool Enabled() const override { return Active; }

  std::int64_t Period() const { return std::int64_t{IntervalMs} * CounterTicksPerMillisecond; }

  TimerList& List;
  std::function<void()> OnTick;
  std::uint32_t IntervalMs = 1000;
  bool Active = false;
  std::int64_t Due = 0;
  std::uint64_t Order = 0;
};

std::unique_ptr<Timer> TimerList::Create(std::function<void()> onTick) {
  auto timer = std::make_unique<ListedTimer>(*this, std::move(onTick));
  Timers.push_back(timer.get());
  return timer;
}

void TimerList::Schedule(ListedTimer& timer) {
  timer.Due = TheClock.Counter() + timer.Period();
  timer.Order = ++Sequence;
}

void TimerList::Forget(const ListedTimer& timer) {
  Timers.erase(std::remove(Timers.begin(), Timers.end(), &timer), Timers.end());
}

TimerList::ListedTimer* TimerList::Earliest(std::int64_t until) const {
  ListedTimer* next = nullptr;
  for (ListedTimer* timer : Timers) {
    if (!timer->Active || timer->Due > until) continue;
    if (next == nullptr || timer->Due < next->Due ||
        (timer->Due == next->Due && timer->Order < next->Order)) {
      next = timer;
    }
  }
  return next;
}

std::optional<std::int64_t> TimerList::NextDue() const {
  const ListedTimer* next = Earliest(std::numeric_limits<std::int64_t>::max());
  if (next == nullptr) return std::nullopt;
  return next->Due;
}

bool TimerList::FireNextDue(std::int64_t until, const std::function<void(std::int64_t)>& reachDue,
                            bool skipMissed) {
  ListedTimer* timer = Earliest(until);
  if (timer == nullptr) return false;
  reachDue(timer->Due);
  timer->Due += timer->Period();
  if (skipMissed && timer->Due <= TheClock.Counter())
    timer->Due = TheClock.Counter() + timer->Period();
  timer->Order = ++Sequence;
  timer->OnTick();
  return true;
}

}  // namespace quillon::platform
