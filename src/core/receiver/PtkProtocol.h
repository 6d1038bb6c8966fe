#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/Language.h"
#include "core/common/Result.h"
#include "core/learning/RemoteData.h"
#include "core/receiver/BurstConsumers.h"
#include "core/receiver/PtkHandOver.h"
#include "core/receiver/PtkLineDecoder.h"
#include "core/receiver/PtkTexts.h"
#include "core/receiver/PulseCapture.h"
#include "core/receiver/ReceivePipeline.h"
#include "core/receiver/ReceiverView.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/SerialDevice.h"

namespace quillon {

// The settings the receiver side reads when it needs them.
struct PtkOptions {
  std::int32_t KeysDelay = 1;  // ms, the "Time between two keys": the interval of TimeKey
  LanguageFlag Language = English;
};

// The timing parameter T is a printable character: the receiver takes nothing else.
inline constexpr std::uint8_t MinReceiverT = 32;
inline constexpr std::uint8_t MaxReceiverT = 125;
std::uint8_t ClampReceiverT(std::int32_t t);

// The text protocol of a microcontroller receiver (PTK on a serial port, PTW behind a USB
// serial adapter): commands sent a byte at a time, the reply lines it sends back, the
// receiver's start-up, and its key-data lines, which go to the consumers of the receive mode.
//
// Lines are assembled from every arrival and split at CR LF before anything else: replies
// are always handled; the hold-off after a key-data line (LineHoldOff, cleared by TimeKey
// after KeysDelay ms) drops only further key-data lines, and only in modes 0 to 2. Complete
// lines leave LineBuffer before any is handled, because handling one may wait with the loop
// running and so receive the next data.
class PtkProtocol {
 public:
  static constexpr std::size_t MaxLineLength = 512;     // longer lines and tails are dropped
  static constexpr std::size_t MaxErrorDump = 1024;     // an error report beyond is dropped
  static constexpr std::uint32_t ErrorReportMs = 1000;  // an error report ends within this

  PtkProtocol(ReceivePipeline& pipeline, PulseCapture& capture, platform::SerialDevice& device,
              platform::EventLoop& loop, const platform::Clock& clock, RemoteData& remote,
              ReceiverView& view, const PtkOptions& options);
  ~PtkProtocol();
  PtkProtocol(const PtkProtocol&) = delete;
  PtkProtocol& operator=(const PtkProtocol&) = delete;

  void SetConsumers(const BurstConsumers& consumers, const KeyLineConsumers& lineConsumers);

  // Opens the receivers' port: carrier changes and data arrivals go to the pulse capture,
  // arriving text to the protocol, the device's problems to the log. `comNumber` names the
  // port in what is shown.
  Result<Done> OpenPort(const std::string& path, std::int32_t comNumber);
  void ClosePort();
  bool PortOpen() const { return Device.IsOpen(); }

  // Handles the data that arrived by the counter reading `counter`: every complete line.
  void PICDataReceived(std::int64_t counter);

  // Commands. Each byte is followed by a 10 ms pause with the loop running. A waiting
  // command says whether its answer came: up to 60 passes of 1, 2, ... ms, then 500 ms more.
  bool StartReceiver();
  bool StopReceiver();
  bool SendNewT(std::uint8_t t);
  void ResetReceiver();
  void AskSerialNumber();
  // The new T data after an error report; waits for "New-Ok" (AwaitingNewOk meanwhile).
  bool SendNewTData(std::uint8_t byte);

  // Stops the receiver, sets T (after a failure: reopens the port, resets the receiver and
  // tries once more) and starts it, two attempts each. PtkFound becomes the outcome. T is
  // clamped to the printable characters and stored in the learned remote.
  bool ReceiverStartUp(std::uint8_t receiverT);

  bool KeyTimerRunning() const { return TimeKey->Enabled(); }

  std::string LastReply;        // "START", "STOP", "New T" or the last echoed command
  std::string ReceiverVersion;  // "IR Receiver PTK1.0" or "IR Receiver PTW1.0"
  std::uint8_t ReceiverT = MinReceiverT;
  std::string ErrorDump;  // the lines of an error report, without their line ends
  bool ErrorMode = false;
  bool AwaitingNewOk = false;
  std::string LineBuffer;  // the unfinished tail of what arrived
  std::int32_t ComNumber = 0;

 private:
  void HandleLine(const std::string& line, std::int64_t counter);
  void HandleEcho(const std::string& line);
  void KeyData(const std::string& line, std::int64_t counter);
  void EnterErrorReport();
  void LeaveErrorReport();
  void EndErrorReport();
  void SendBytes(std::string_view bytes);
  bool WaitForAnswer(const std::function<bool()>& answered);
  bool Command(std::string_view bytes, std::string_view keyword);
  void ReopenPort();
  void TimeKeyTimer();
  platform::SerialHandlers Handlers();
  std::string Say(PtkText role) const { return std::string(Text(role, Options.Language)); }

  ReceivePipeline& Pipeline;
  PulseCapture& Capture;
  platform::SerialDevice& Device;
  platform::EventLoop& Loop;
  const platform::Clock& Clock;
  RemoteData& Remote;
  ReceiverView& View;
  const PtkOptions& Options;
  BurstConsumers Consumers;
  KeyLineConsumers LineConsumers;
  RepeatAccumulator Repeats;
  std::unique_ptr<platform::Timer> TimeKey;      // key timer: ends LineHoldOff
  std::unique_ptr<platform::Timer> ReportTimer;  // ends an error report whose close was lost
  std::string PortPath;
  std::optional<std::uint8_t> PendingNewTData;  // of a report that ended during an exchange
};

}  // namespace quillon
