#include "platform/fake/FakeIrDevice.h"

#include <algorithm>

namespace quillon::platform {

FakeIrDevice::FakeIrDevice(EventLoop& loop, const Clock& clock)
    : TheClock(clock), Wake(loop.CreateTimer([this] { Deliver(); })) {}

void FakeIrDevice::AddDevice(std::string path) {
  Inputs[std::move(path)] = {IrInputKind::Live, std::nullopt, 0};
}

void FakeIrDevice::AddPipe(std::string path) {
  Inputs[std::move(path)] = {IrInputKind::Recording, std::nullopt, 0};
}

void FakeIrDevice::AddFile(std::string path, std::string content, std::size_t readSize) {
  Inputs[std::move(path)] = {IrInputKind::Recording, std::move(content),
                             std::max<std::size_t>(readSize, 1)};
}

Result<IrInputKind> FakeIrDevice::Open(const std::string& path, IrInputHandlers handlers) {
  Close();
  const auto found = Inputs.find(path);
  if (found == Inputs.end()) return Error{"cannot open " + path + ": No such file or directory"};
  Opened = true;
  Handlers = std::move(handlers);
  OpenedPaths.push_back(path);
  const Input& input = found->second;
  if (input.Content) {
    const std::int64_t now = TheClock.Counter();
    for (std::size_t at = 0; at < input.Content->size(); at += input.ReadSize) {
      ReadAt(now, input.Content->substr(at, input.ReadSize));
    }
    EndAt(now, Done{});
  }
  return input.Kind;
}

void FakeIrDevice::Close() {
  if (!Opened) return;
  Opened = false;
  Events.clear();
  Wake->Disable();
}

void FakeIrDevice::ReadAt(std::int64_t counter, std::string bytes) {
  Schedule({counter, false, std::move(bytes), Done{}});
}

void FakeIrDevice::EndAt(std::int64_t counter, Result<Done> end) {
  Schedule({counter, true, {}, std::move(end)});
}

void FakeIrDevice::Schedule(Event event) {
  // After every event of the same reading or earlier: reads keep the order they were scripted.
  const auto at = std::upper_bound(
      Events.begin(), Events.end(), event.Counter,
      [](std::int64_t counter, const Event& other) { return counter < other.Counter; });
  Events.insert(at, std::move(event));
  Rearm();
}

void FakeIrDevice::Rearm() {
  Wake->Disable();
  if (Events.empty()) return;
  // A timer counts whole milliseconds: it fires at the event's reading or just after it.
  const std::int64_t wait = Events.front().Counter - TheClock.Counter();
  const std::int64_t milliseconds =
      (wait + CounterTicksPerMillisecond - 1) / CounterTicksPerMillisecond;
  Wake->SetInterval(static_cast<std::uint32_t>(std::max<std::int64_t>(milliseconds, 1)));
  Wake->Enable();
}

void FakeIrDevice::Deliver() {
  while (Opened && !Events.empty() && Events.front().Counter <= TheClock.Counter()) {
    const Event event = std::move(Events.front());
    Events.erase(Events.begin());
    if (event.IsEnd) {
      if (Handlers.Ended) Handlers.Ended(event.End);
    } else if (Handlers.DataRead) {
      Handlers.DataRead(event.Counter, event.Bytes);
    }
  }
  Rearm();
}

}  // namespace quillon::platform
