#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Clock.h"
#include "platform/EventLoop.h"

namespace quillon::platform {

// The event loop of the command-line tools: timers on the clock's tick count, tasks posted
// from other threads, and poll() to sleep until the next of them. The GUI uses Qt's loop.
class PollEventLoop : public EventLoop {
 public:
  explicit PollEventLoop(const Clock& clock);
  ~PollEventLoop() override;
  PollEventLoop(const PollEventLoop&) = delete;
  PollEventLoop& operator=(const PollEventLoop&) = delete;

  std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override;
  void Post(std::function<void()> task) override;
  void RunUntil(std::uint32_t deadlineTick) override;

 private:
  class PollTimer;
  friend class PollTimer;

  void Forget(const PollTimer& timer);
  void RunPosted();
  bool FireOneDue();
  void Sleep(std::uint32_t deadlineTick);

  const Clock& TheClock;
  int WakeFd = -1;  // eventfd that Post() signals
  std::vector<PollTimer*> Timers;
  std::uint64_t Sequence = 0;
  std::mutex PostedMutex;
  std::deque<std::function<void()>> Posted;
};

}  // namespace quillon::platform
