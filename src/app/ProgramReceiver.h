#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/receiver/ComPort.h"
#include "core/receiver/PtkProtocol.h"
#include "core/receiver/PulseCapture.h"
#include "core/receiver/ReceiverDiscovery.h"
#include "core/shell/Options.h"
#include "gui/TForm1.h"
#include "platform/linux/LinuxSerialPorts.h"
#include "platform/linux/TermiosSerialDevice.h"

namespace quillon::app {

// The machine's serial ports as the program numbers them: the serial devices found (none with
// QUILLON_SYSTEM_PORTS=0), then those QUILLON_PORTS names (a receiver simulator's
// pseudo-terminal, for instance).
std::vector<std::string> ProgramPortTable();

// Where the receiver side shows what it does. The configuration window selects ports and takes
// the news of a microcontroller receiver; hints and log lines go to the learning window once it
// is there, and every log line to standard error as well.
class ReceiverDisplay final : public DiscoveryView {
 public:
  explicit ReceiverDisplay(gui::TForm1& configurationWindow) : Configuration(configurationWindow) {}

  void ShowHint(const std::string& text) override;
  void Log(const std::string& text) override;
  void ShowSelectedPort(std::int32_t port) override;
  void SetConfigurationEnabled(bool enabled) override {
    Configuration.SetConfigurationEnabled(enabled);
  }
  void PtkReceiverInUse() override { Configuration.PtkReceiverInUse(); }

  ReceiverView* LearningWindow = nullptr;
  std::function<void(std::int32_t)> ShowLearningPort;

 private:
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
    DiscoveryView& View;
  };

  // The options give the time between two keys, whether to search for a microcontroller
  // receiver and whether to warn about a slow processor.
  ProgramReceiver(const Parts& parts, std::vector<std::string> portTable, const Options& options,
                  LanguageFlag language);

  const platform::SerialPorts& Ports() const { return SerialPorts; }

  // The start when the program starts: the configured port, the search up to `highestPort`
  // and the receiver's start (see ReceiverDiscovery); the bare receiver's port is opened when
  // no microcontroller receiver took over.
  ReceiverInUse Start(std::int32_t configuredPort, std::int32_t highestPort);
  // The port choice: the bare receiver moves to `port`. Gives the error of opening it.
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
