#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/IrDevice.h"

namespace quillon::platform {

// A kernel IR device (/dev/lircN) in mode2, or a recording in a regular file or a pipe. One
// thread reads it and posts each read's bytes to the event loop with the counter read when
// the thread woke. A kernel device measures the durations itself, so the thread needs no
// raised priority. Closing wakes the thread through an eventfd and returns at once.
class LircDevice : public IrDevice {
 public:
  LircDevice(EventLoop& loop, const Clock& clock);
  ~LircDevice() override;
  LircDevice(const LircDevice&) = delete;
  LircDevice& operator=(const LircDevice&) = delete;

  Result<IrInputKind> Open(const std::string& path, IrInputHandlers handlers) override;
  void Close() override;
  bool IsOpen() const override { return Fd >= 0; }

 private:
  void ReadLoop();
  // Runs `task` on the loop unless the device was closed meanwhile.
  void Deliver(std::function<void()> task);
  void DeliverEnd(Result<Done> end);

  EventLoop& Loop;
  const Clock& TheClock;
  std::string Path;
  IrInputHandlers Handlers;
  IrInputKind Kind = IrInputKind::Recording;
  int Fd = -1;
  int WakeFd = -1;
  std::shared_ptr<std::atomic<bool>> Alive;  // shared with posted tasks
  std::thread Reader;
};

}  // namespace quillon::platform
