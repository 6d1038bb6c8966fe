#include "app/ProgramReceiver.h"

#include <cstdlib>
#include <iostream>
#include <string_view>

#include "core/receiver/PtkReplies.h"
#include "platform/linux/SerialPortTable.h"

namespace quillon::app {

std::vector<std::string> ProgramPortTable() {
  const char* extra = std::getenv("QUILLON_PORTS");
  const char* system = std::getenv("QUILLON_SYSTEM_PORTS");
  const bool systemPorts = system == nullptr || std::string_view(system) != "0";
  return platform::SerialPortTable("/dev", systemPorts,
                                   platform::PortList(extra != nullptr ? extra : ""));
}

namespace {

// A log line on one line of standard error.
void ToStandardError(const std::string& text) {
  std::string line = "quillon: ";
  for (const char c : text) {
    if (c != '\r') line += c == '\n' ? ' ' : c;
  }
  std::cerr << line << "\n";
}

}  // namespace

std::string ReceiverModel(std::string_view version) {
  constexpr std::size_t ModelLength = 6;
  if (version.size() != ReceiverVersionLength) return "PTK0.0";
  return std::string(version.substr(ReceiverVersionLength - ModelLength));
}

// The protocol reports an identification line as soon as it has taken it.
void ReceiverDisplay::ShowHint(const std::string& text) {
  if (LearningWindow != nullptr) LearningWindow->ShowHint(text);
  ShowReceiverModel();
}

void ReceiverDisplay::Log(const std::string& text) {
  if (LearningWindow != nullptr) LearningWindow->Log(text);
  ToStandardError(text);
  ShowReceiverModel();
}

void ReceiverDisplay::ShowSelectedPort(std::int32_t port) {
  Configuration.ShowSelectedPort(port);
  if (LearningWindow != nullptr) LearningWindow->ShowSelectedPort(port);
}

void ReceiverDisplay::PtkReceiverInUse() {
  Configuration.PtkReceiverInUse();
  if (LearningWindow != nullptr) LearningWindow->PtkReceiverInUse();
  ShowReceiverModel();
}

void ReceiverDisplay::ShowReceiverModel() {
  if (Protocol == nullptr) return;
  const std::string model = ReceiverModel(Protocol->ReceiverVersion);
  Configuration.ShowReceiverModel(model);
  if (LearningWindow != nullptr) LearningWindow->ShowReceiverModel(model);
}

ProgramReceiver::ProgramReceiver(const Parts& parts, std::vector<std::string> portTable,
                                 const Options& options, LanguageFlag language)
    : The(parts),
      Device(parts.Loop, parts.Clock),
      Capture(parts.Pipeline, Device),
      ProtocolOptions{options.KeysDelay, language},
      Ptk(parts.Pipeline, Capture, Device, parts.Loop, parts.Clock, parts.Remote, parts.View,
          ProtocolOptions),
      SerialPorts(std::move(portTable)),
      ComPort(SerialPorts, Ptk),
      SearchOptions{options.LookForPTK, options.CPUSpeedWarning, language},
      Search({parts.Pipeline, Ptk, ComPort, SerialPorts, parts.System, parts.Loop, parts.Clock,
              parts.Remote, parts.View, parts.Boxes},
             SearchOptions) {
  ComPort.OnPortOpen = [this] { Search.PortOpened(); };
  The.View.Protocol = &Ptk;
}

ReceiverInUse ProgramReceiver::Start(std::int32_t configuredPort, std::int32_t highestPort) {
  // A failure to open shows in the log; the user can choose another port.
  if (const auto set = ComPort.SetComNumber(configuredPort); !set) The.View.Log(set.ErrorMessage());
  const ReceiverInUse inUse = Search.StartAtProgramStart(highestPort);
  if (!ComPort.IsOpen()) {
    if (const auto opened = ComPort.Open(); !opened) The.View.Log(opened.ErrorMessage());
  }
  The.View.ShowSelectedPort(ComPort.ComNumber());
  return inUse;
}

Result<Done> ProgramReceiver::SelectPort(std::int32_t port) {
  Result<Done> selected = ComPort.SetComNumber(port);
  if (selected && !ComPort.IsOpen()) selected = ComPort.Open();
  The.View.ShowSelectedPort(ComPort.ComNumber());
  return selected;
}

void ProgramReceiver::Stop() {
  if (The.Pipeline.PtkFound && ComPort.IsOpen()) Ptk.StopReceiver();
  ComPort.Close();
}

void ProgramReceiver::SetLanguage(LanguageFlag language) {
  ProtocolOptions.Language = language;
  SearchOptions.Language = language;
}

}  // namespace quillon::app
