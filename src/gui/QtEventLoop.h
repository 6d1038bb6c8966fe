#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Clock.h"
#include "platform/EventLoop.h"

namespace quillon::gui {

// The program's event loop is Qt's: timers are QTimers, posted tasks queued invocations, and a
// wait runs a nested loop until its deadline, so the core's waits keep the windows alive.
class QtEventLoop : public platform::EventLoop {
 public:
  // Lives on the thread that creates it, which must be the one that runs Qt's loop.
  explicit QtEventLoop(const platform::Clock& clock);
  ~QtEventLoop() override;
  QtEventLoop(const QtEventLoop&) = delete;
  QtEventLoop& operator=(const QtEventLoop&) = delete;

  std::unique_ptr<platform::Timer> CreateTimer(std::function<void()> onTick) override;
  void Post(std::function<void()> task) override;
  void RunUntil(std::uint32_t deadlineTick) override;

 private:
  const platform::Clock& TheClock;
  std::unique_ptr<QObject> Receiver;  // posted tasks run in its thread
};

}  // namespace quillon::gui
