#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace quillon::platform {

// A message timer of the main thread. It ticks every Interval() milliseconds while enabled.
// Enabling a running timer does not restart it (the receive pipeline relies on this to bound a
// burst by the time since its first edge); changing the interval of a running timer restarts it.
class Timer {
 public:
  virtual ~Timer() = default;

  virtual void SetInterval(std::uint32_t milliseconds) = 0;
  virtual std::uint32_t Interval() const = 0;
  virtual void Enable() = 0;
  virtual void Disable() = 0;
  virtual bool Enabled() const = 0;
};

// The main thread's event loop. All program logic runs in it; other threads hand work over
// with Post().
class EventLoop {
 public:
  virtual ~EventLoop() = default;

  // A timer that calls `onTick` on the loop's thread. It starts disabled with interval 1000 ms.
  // The timer must not outlive the loop.
  virtual std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) = 0;

  // Queues `task` to run on the loop's thread. Safe to call from any thread.
  virtual void Post(std::function<void()> task) = 0;

  // Handles timers and posted tasks until the millisecond tick count reaches `deadlineTick`.
  // Sleeps between events; never spins.
  virtual void RunUntil(std::uint32_t deadlineTick) = 0;
};

}  // namespace quillon::platform
