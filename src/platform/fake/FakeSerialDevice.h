#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/SerialDevice.h"

namespace quillon::platform {

// A serial device on the event loop's time, for tests and dry runs. A test scripts what the
// line brings (bytes, carrier-detect edges with the modem status they leave, device problems)
// at counter readings; each event reaches its handler through a timer of the loop, with the
// scripted reading, as the real device's thread would hand it over. Every byte written is
// recorded with the counter reading of its write, and scripted replies answer written
// commands, so a receiver protocol runs end to end on virtual time.
//
// Events that fall due while the device is closed are lost, as on a closed port. The device
// must not outlive its loop.
class FakeSerialDevice : public SerialDevice {
 public:
  FakeSerialDevice(EventLoop& loop, const Clock& clock);
  FakeSerialDevice(const FakeSerialDevice&) = delete;
  FakeSerialDevice& operator=(const FakeSerialDevice&) = delete;

  Result<Done> Open(const std::string& path, SerialHandlers handlers) override;
  void Close() override;
  bool IsOpen() const override { return Opened; }
  std::uint32_t ModemStatus() const override { return Status; }
  std::string ReadAll() override;
  void Write(std::string_view bytes) override;

  // Bytes that arrive at `counter` (or `milliseconds` from now).
  void ArriveAt(std::int64_t counter, std::string bytes);
  void ArriveAfter(std::uint32_t milliseconds, std::string bytes);
  // A carrier-detect edge at `counter`, after which the modem status reads `status`.
  void CarrierEdgeAt(std::int64_t counter, std::uint32_t status);
  // A problem the device reports `milliseconds` from now (a device that went away).
  void ProblemAfter(std::uint32_t milliseconds, std::string message);

  // When the bytes written since the last answered command end with `command`, `reply`
  // arrives `delayMs` later. A reply with `times` >= 0 answers that many times only. The
  // earliest-scripted matching reply answers; a command that matches none is not answered.
  void Answer(std::string command, std::string reply, std::uint32_t delayMs = 2,
              std::int32_t times = -1);
  // The next `count` opens fail with `message`.
  void FailOpens(std::int32_t count, std::string message);
  // Scripted replies come only while the device is open at this path (empty: at any path),
  // as from a receiver on one port among several.
  std::string AnsweringPath;

  struct WrittenByte {
    std::int64_t Counter = 0;
    char Byte = 0;
  };
  const std::vector<WrittenByte>& Writes() const { return WrittenBytes; }
  // Every byte written, in order.
  std::string Written() const;
  // The paths of the successful opens, in order, and how often the device was closed while
  // open.
  const std::vector<std::string>& Opens() const { return OpenedPaths; }
  std::int32_t Closes() const { return CloseCount; }

 private:
  enum class EventKind : std::uint8_t { Data, Carrier, Problem };
  struct Event {
    std::int64_t Counter = 0;
    std::uint64_t Sequence = 0;  // keeps events of one reading in the order scripted
    EventKind Kind = EventKind::Data;
    std::string Bytes;  // the data, or the problem's message
    std::uint32_t Status = 0;
  };
  struct ScriptedReply {
    std::string Command;
    std::string Reply;
    std::uint32_t DelayMs = 0;
    std::int32_t Times = -1;
  };

  void Schedule(Event event);
  void Rearm();
  void Deliver();
  void Apply(const Event& event);
  void AnswerWritten();

  EventLoop& Loop;
  const Clock& TheClock;
  std::unique_ptr<Timer> Wake;
  SerialHandlers Handlers;
  bool Opened = false;
  std::uint32_t Status = 0;
  std::string Received;
  std::vector<Event> Events;  // in delivery order
  std::uint64_t NextSequence = 0;
  std::vector<ScriptedReply> Replies;
  std::string SinceAnswer;  // bytes written since the last answered command
  std::vector<WrittenByte> WrittenBytes;
  std::vector<std::string> OpenedPaths;
  std::int32_t CloseCount = 0;
  std::int32_t OpenFailures = 0;
  std::string OpenFailure;
};

}  // namespace quillon::platform
