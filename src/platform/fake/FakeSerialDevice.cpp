#include "platform/fake/FakeSerialDevice.h"

#include <algorithm>

namespace quillon::platform {

namespace {

// Written bytes kept for matching commands: more than the longest command of a receiver.
constexpr std::size_t CommandMemory = 64;

}  // namespace

FakeSerialDevice::FakeSerialDevice(EventLoop& loop, const Clock& clock)
    : Loop(loop), TheClock(clock), Wake(loop.CreateTimer([this] { Deliver(); })) {}

Result<Done> FakeSerialDevice::Open(const std::string& path, SerialHandlers handlers) {
  Close();
  if (OpenFailures > 0) {
    --OpenFailures;
    return Error{OpenFailure};
  }
  Opened = true;
  Handlers = std::move(handlers);
  OpenedPaths.push_back(path);
  return Done{};
}

void FakeSerialDevice::Close() {
  if (!Opened) return;
  Opened = false;
  ++CloseCount;
  Received.clear();
  SinceAnswer.clear();
}

std::string FakeSerialDevice::ReadAll() {
  std::string all;
  all.swap(Received);
  return all;
}

void FakeSerialDevice::Write(std::string_view bytes) {
  if (!Opened) return;
  for (const char byte : bytes) {
    WrittenBytes.push_back({TheClock.Counter(), byte});
    SinceAnswer += byte;
    AnswerWritten();
  }
  if (SinceAnswer.size() > CommandMemory) {
    SinceAnswer.erase(0, SinceAnswer.size() - CommandMemory);
  }
}

void FakeSerialDevice::AnswerWritten() {
  if (!AnsweringPath.empty() && (!Opened || OpenedPaths.back() != AnsweringPath)) return;
  for (ScriptedReply& reply : Replies) {
    if (reply.Times == 0 || !SinceAnswer.ends_with(reply.Command)) continue;
    if (reply.Times > 0) --reply.Times;
    SinceAnswer.clear();
    ArriveAfter(reply.DelayMs, reply.Reply);
    return;
  }
}

std::string FakeSerialDevice::Written() const {
  std::string all;
  for (const WrittenByte& written : WrittenBytes) all += written.Byte;
  return all;
}

void FakeSerialDevice::ArriveAt(std::int64_t counter, std::string bytes) {
  Schedule({counter, 0, EventKind::Data, std::move(bytes), 0});
}

void FakeSerialDevice::ArriveAfter(std::uint32_t milliseconds, std::string bytes) {
  ArriveAt(TheClock.Counter() + std::int64_t{milliseconds} * CounterTicksPerMillisecond,
           std::move(bytes));
}

void FakeSerialDevice::CarrierEdgeAt(std::int64_t counter, std::uint32_t status) {
  Schedule({counter, 0, EventKind::Carrier, {}, status});
}

void FakeSerialDevice::ProblemAfter(std::uint32_t milliseconds, std::string message) {
  Schedule({TheClock.Counter() + std::int64_t{milliseconds} * CounterTicksPerMillisecond, 0,
            EventKind::Problem, std::move(message), 0});
}

void FakeSerialDevice::Answer(std::string command, std::string reply, std::uint32_t delayMs,
                              std::int32_t times) {
  Replies.push_back({std::move(command), std::move(reply), delayMs, times});
}

void FakeSerialDevice::FailOpens(std::int32_t count, std::string message) {
  OpenFailures = count;
  OpenFailure = std::move(message);
}

void FakeSerialDevice::Schedule(Event event) {
  event.Sequence = NextSequence++;
  const auto later = [](const Event& a, const Event& b) {
    return a.Counter != b.Counter ? a.Counter < b.Counter : a.Sequence < b.Sequence;
  };
  Events.insert(std::upper_bound(Events.begin(), Events.end(), event, later), std::move(event));
  Rearm();
}

void FakeSerialDevice::Rearm() {
  Wake->Disable();
  if (Events.empty()) return;
  // A timer counts whole milliseconds: it fires at the event's reading or just after it, and
  // the handler gets the scripted reading.
  const std::int64_t wait = Events.front().Counter - TheClock.Counter();
  const std::int64_t milliseconds =
      (wait + CounterTicksPerMillisecond - 1) / CounterTicksPerMillisecond;
  Wake->SetInterval(static_cast<std::uint32_t>(std::max<std::int64_t>(milliseconds, 1)));
  Wake->Enable();
}

void FakeSerialDevice::Deliver() {
  while (!Events.empty() && Events.front().Counter <= TheClock.Counter()) {
    const Event event = std::move(Events.front());
    Events.erase(Events.begin());
    // Armed before the handler runs: a handler that waits with the loop running receives the
    // events that fall due meanwhile.
    Rearm();
    Apply(event);
  }
  Rearm();
}

void FakeSerialDevice::Apply(const Event& event) {
  if (!Opened) return;
  switch (event.Kind) {
    case EventKind::Data:
      Received += event.Bytes;
      if (Handlers.DataReceived) Handlers.DataReceived(event.Counter, event.Bytes.size());
      break;
    case EventKind::Carrier:
      Status = event.Status;
      if (Handlers.CarrierChanged) Handlers.CarrierChanged(event.Counter);
      break;
    case EventKind::Problem:
      if (Handlers.Problem) Handlers.Problem(event.Bytes);
      break;
  }
}

}  // namespace quillon::platform
