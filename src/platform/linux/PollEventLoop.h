#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/support/TaskQueue.h"
#include "platform/support/TimerList.h"

namespace quillon::platform {

// The event loop of the command-line tools: timers on the clock, tasks posted from other
// threads, and poll() to sleep until the next of them. The GUI uses Qt's loop.
class PollEventLoop : public EventLoop {
 public:
  explicit PollEventLoop(const Clock& clock);
  ~PollEventLoop() override;
  PollEventLoop(const PollEventLoop&) = delete;
  PollEventLoop& operator=(const PollEventLoop&) = delete;

  std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override {
    return Timers.Create(std::move(onTick));
  }
  void Post(std::function<void()> task) override;
  void RunUntil(std::uint32_t deadlineTick) override;

 private:
  void Sleep(std::int64_t deadline);

  const Clock& TheClock;
  int WakeFd = -1;  // eventfd that Post() signals
  TimerList Timers;
  TaskQueue Posted;
};

}  // namespace quillon::platform
