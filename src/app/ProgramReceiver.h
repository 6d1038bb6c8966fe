#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/receiver/ComPort.h"
#include "core/receiver/PtkProtocol.h"
#include "core/receiver/PulseCapture.h"
#include "core/receiver/ReceiverDiscovery.h"
#include "core/shell/Options.h"
#include "gui/TForm1.h"
#include "gui/TMain.h"
#include "platform/linux/LinuxSerialPorts.h"
#include "platform/linux/TermiosSerialDevice.h"

namespace quillon::app {

// The machine's serial ports as the program numbers them: the serial devices found (none with
// QUILLON_SYSTEM_PORTS=0), then those QUILLON_PORTS names (a receiver simulator's
// pseudo-terminal, for instance).
std::vector<std::string> ProgramPortTable();

// The receiver's model as the receiver labels show it: the end of the identification line of
// a microcontroller receiver ("PTK1.0" from "IR Receiver PTK1.0"), "PTK0.0" before one
// identified itself.
std::string ReceiverModel(std::string_view version);

// Where the receiver side shows what it does. Both windows' port choices show the port in use
// and both are fixed once a microcontroller receiver is; both receiver labels show the model of
// the receiver `Protocol` speaks to, afresh at each of its reports. The configuration window
// takes input or not; hints and log lines go to the learning window once it is there, and
// every log line to standard error as well.
class ReceiverDisplay final : public DiscoveryView {
 public:
  explicit ReceiverDisplay(gui::TForm1& configurationWindow) : Configuration(configurationWindow) {}

  void ShowHint(const std::string& text) override;
  void Log(const std::string& text) override;
  void ShowSelectedPort(std::int32_t port) override;
  void SetConfigurationEnabled(bool enabled) override {
    Configuration.SetConfigurationEnabled(enabled);
  }
  void PtkReceiverInUse() override;

  gui::TMain* LearningWindow = nullptr;
  const PtkProtocol* Protocol = nullptr;

 private:
  void ShowReceiverModel();

  gui::TForm1& Configuration;
};

// The receiver side of the program: the serial port with its pulse capture and receiver
// protocol, the port table and the search for a receiver.
class ProgramReceiver {
 public:
  struct Parts {
    ReceivePipeline& Pipeline;
    platform::EventLoop& Loop;
    const platform::Clock& Clock;
    RemoteData& Remote;
    const platform::SystemControl& System;
    MessageBoxes& Boxes;
    ReceiverDisplay& View;  // follows the receiver's protocol from the start
  };

  // The options give the time between two keys, whether to search for a microcontroller
  // receiver and whether to warn about a slow processor.
  ProgramReceiver(const Parts& parts, std::vector<std::string> portTable, const Options& options,
                  LanguageFlag language);

  const platform::SerialPorts& Ports() const { return SerialPorts; }

  // The start when the program starts: the configured port, the search up to `highestPort`
  // and the receiver's start (see ReceiverDiscovery); the bare receiver's port is opened when
  // no microcontroller receiver took over. Both port choices show the port in use.
  ReceiverInUse Start(std::int32_t configuredPort, std::int32_t highestPort);
  // The port choice of either window: the bare receiver moves to `port`, and both choices show
  // the port in use. Gives the error of opening it.
  Result<Done> SelectPort(std::int32_t port);
  // Closing: a microcontroller receiver is told to stop, the port closes.
  void Stop();

  // The texts of the messages and the receiver's log follow the program's language.
  void SetLanguage(LanguageFlag language);

  bool PtkInUse() const { return The.Pipeline.PtkFound; }
  PtkProtocol& Protocol() { return Ptk; }
  PtkOptions& ReceiverOptions() { return ProtocolOptions; }
  ReceiverDiscovery& Discovery() { return Search; }
  AfComPort& Port() { return ComPort; }

 private:
  Parts The;
  platform::TermiosSerialDevice Device;
  PulseCapture Capture;
  PtkOptions ProtocolOptions;
  PtkProtocol Ptk;
  platform::LinuxSerialPorts SerialPorts;
  AfComPort ComPort;
  DiscoveryOptions SearchOptions;
  ReceiverDiscovery Search;
};

}  // namespace quillon::app
