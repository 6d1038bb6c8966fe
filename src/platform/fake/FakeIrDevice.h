#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/IrDevice.h"

namespace quillon::platform {

// An IR input on the event loop's time, for tests and dry runs. Paths are added as kernel IR
// devices, pipes or files. A file is read when it is opened, in reads of a chosen size, and
// then ends, as a file is read at once. The reads of a device or a pipe, and its end, are
// scripted at counter readings. Each read reaches its handler through a timer of the loop, with
// the scripted reading, as the real device's thread hands it over.
//
// Closing drops whatever has not been delivered. A path that was not added fails to open as a
// missing file does. The device must not outlive its loop.
class FakeIrDevice : public IrDevice {
 public:
  FakeIrDevice(EventLoop& loop, const Clock& clock);
  FakeIrDevice(const FakeIrDevice&) = delete;
  FakeIrDevice& operator=(const FakeIrDevice&) = delete;

  Result<IrInputKind> Open(const std::string& path, IrInputHandlers handlers) override;
  void Close() override;
  bool IsOpen() const override { return Opened; }

  void AddDevice(std::string path);  // opens as Live
  void AddPipe(std::string path);    // opens as Recording
  void AddFile(std::string path, std::string content, std::size_t readSize = 4096);

  // A read of a device or pipe delivering `bytes` at `counter`.
  void ReadAt(std::int64_t counter, std::string bytes);
  // The input ends at `counter`: Done as at the end of a file, an Error as a device gone.
  void EndAt(std::int64_t counter, Result<Done> end);

  // The paths of the successful opens, in order.
  const std::vector<std::string>& Opens() const { return OpenedPaths; }

 private:
  struct Input {
    IrInputKind Kind = IrInputKind::Recording;
    std::optional<std::string> Content;  // a file's
    std::size_t ReadSize = 0;
  };
  struct Event {
    std::int64_t Counter = 0;
    bool IsEnd = false;
    std::string Bytes;
    Result<Done> End = Done{};
  };

  void Schedule(Event event);
  void Rearm();
  void Deliver();

  const Clock& TheClock;
  std::unique_ptr<Timer> Wake;
  std::map<std::string, Input> Inputs;
  IrInputHandlers Handlers;
  bool Opened = false;
  std::vector<Event> Events;  // in delivery order
  std::vector<std::string> OpenedPaths;
};

}  // namespace quillon::platform
