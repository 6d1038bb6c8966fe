#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/actions/MessageBox.h"
#include "core/common/Language.h"
#include "core/learning/RemoteData.h"
#include "core/receiver/ComPort.h"
#include "core/receiver/DiscoveryTexts.h"
#include "core/receiver/PtkProtocol.h"
#include "core/receiver/ReceivePipeline.h"
#include "core/receiver/ReceiverView.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/SerialPorts.h"
#include "platform/SystemControl.h"

namespace quillon {

// The settings the search and the start read.
struct DiscoveryOptions {
  bool LookForPTK = true;
  bool CPUSpeedWarning = true;
  LanguageFlag Language = English;
};

// Where the search shows what it does beyond hints and log lines.
class DiscoveryView : public ReceiverView {
 public:
  // Both port selectors (the learning window's and the configuration window's) show `port`.
  virtual void ShowSelectedPort(std::int32_t port) = 0;
  // The configuration window takes input or not (not while a receiver answers a reset).
  virtual void SetConfigurationEnabled(bool enabled) = 0;
  // A PTK/PTW receiver is in use from now on.
  virtual void PtkReceiverInUse() = 0;
};

// Which receiver the program goes on with.
enum class ReceiverInUse : std::uint8_t {
  Ptk,            // a PTK or PTW receiver answered and started
  Pts,            // no search, or none answered: the bare receiver on the configured port
  PtkStartFailed  // one answered and would not start: no receiver in use
};

// The highest-numbered port that opens, counting down from the top of the port table; 0 when
// none does. It bounds the search for a receiver.
std::int32_t HighestFreePort(const platform::SerialPorts& ports);

// Finds the microcontroller receiver among the ports, starts the receiver in use at program
// start, resets a receiver on a freshly opened port, and restarts it on request.
class ReceiverDiscovery {
 public:
  static constexpr std::uint32_t ProbePauseMs = 20;
  static constexpr std::uint32_t AnswerWaitMs = 500;
  static constexpr double MinimumClockMHz = 990;  // the warning says 1000, by design

  struct Parts {
    ReceivePipeline& Pipeline;
    PtkProtocol& Protocol;
    AfComPort& Port;
    const platform::SerialPorts& Ports;
    const platform::SystemControl& System;
    platform::EventLoop& Loop;
    const platform::Clock& Clock;
    RemoteData& Remote;
    DiscoveryView& View;
    MessageBoxes& Boxes;
  };

  ReceiverDiscovery(const Parts& parts, const DiscoveryOptions& options);

  // Tries ports 1 to `highestPort` for a receiver that identifies itself; the port where one
  // did, or 0 (then the port selected before is selected and opened again).
  std::int32_t PortSearch(std::int32_t highestPort);

  // The start when the program starts: reception off, the stored T raised to at least 32, the
  // search when asked for, the receiver's start-up, the processor check for the bare
  // receiver; then reception on in receive mode 0. A receiver that will not start leaves the
  // program running without one, as the box says.
  ReceiverInUse StartAtProgramStart(std::int32_t highestPort);

  // A port has opened: without a receiver known, a reset makes one on that port identify
  // itself.
  void PortOpened();

  // The learning window's "Clear All": a receiver in use starts afresh with T = 32.
  bool Restart();
  // The learning window's receiver label: starts the receiver in use, or searches first.
  bool StartFromLabel(std::int32_t highestPort);

  // Warns when the processor is too slow for the bare receiver; false after a warning.
  bool CheckProcessorClock();

 private:
  bool SelectPort(std::int32_t port);
  void Message(const std::string& text, MessageKind kind);
  std::string Say(DiscoveryText role) const { return std::string(Text(role, Options.Language)); }

  Parts The;
  const DiscoveryOptions& Options;
};

}  // namespace quillon
