#include "core/receiver/ReceiverDiscovery.h"

#include <algorithm>
#include <cstdio>

#include "core/common/WaitPumping.h"

namespace quillon {

std::string CantOpenDeviceText(LanguageFlag language, std::int32_t port) {
  const std::string text(Text(DiscoveryText::CantOpenDevice, language));
  return language == Bulgarian ? "COM" + std::to_string(port) + text : text;
}

std::string CpuSpeedWarningText(LanguageFlag language, double clockMHz) {
  char clock[64];
  std::snprintf(clock, sizeof clock, "%f MHz) ", clockMHz);
  return std::string(Text(DiscoveryText::CpuSpeed, language)) + clock +
         std::string(Text(DiscoveryText::CpuSpeedTooLow, language));
}

std::int32_t HighestFreePort(const platform::SerialPorts& ports) {
  for (std::int32_t port = ports.HighestPort(); port >= 1; --port) {
    if (ports.Status(port) == platform::PortStatus::Free) return port;
  }
  return 0;
}

ReceiverDiscovery::ReceiverDiscovery(const Parts& parts, const DiscoveryOptions& options)
    : The(parts), Options(options) {}

std::int32_t ReceiverDiscovery::PortSearch(std::int32_t highestPort) {
  The.View.ShowHint(Say(DiscoveryText::SearchAt) + "1");
  The.Pipeline.PtkFound = false;
  const std::int32_t previous = The.Port.ComNumber();
  const std::int32_t top = std::min(highestPort, The.Ports.HighestPort());
  for (std::int32_t port = 1; port <= top; ++port) {
    The.View.ShowHint(Say(DiscoveryText::SearchAt) + std::to_string(port));
    WaitPumping(The.Loop, The.Clock, ProbePauseMs);
    // The port this program holds probes as taken; selecting it opens it afresh.
    const bool ours = port == The.Port.ComNumber() && The.Port.IsOpen();
    if (!ours && The.Ports.Status(port) != platform::PortStatus::Free) continue;
    if (!SelectPort(port)) continue;
    WaitPumping(The.Loop, The.Clock, AnswerWaitMs);
    if (The.Pipeline.PtkFound) return port;
  }
  The.View.ShowHint(Say(DiscoveryText::NotFound));
  The.View.ShowSelectedPort(0);
  (void)The.Port.SetComNumber(0);
  The.View.ShowSelectedPort(previous);
  if (previous > 0) SelectPort(previous);
  return 0;
}

bool ReceiverDiscovery::SelectPort(std::int32_t port) {
  Result<Done> opened = The.Port.SetComNumber(port);
  if (opened && !The.Port.IsOpen()) opened = The.Port.Open();
  if (opened) return true;
  The.View.Log(opened.ErrorMessage());
  Message(CantOpenDeviceText(Options.Language, port), MessageKind::Error);
  return false;
}

ReceiverInUse ReceiverDiscovery::StartAtProgramStart(std::int32_t highestPort) {
  The.Pipeline.ReceiveEnabled = false;
  if (static_cast<unsigned char>(The.Remote.ReceiverT) < MinReceiverT) {
    The.Remote.ReceiverT = static_cast<char>(MinReceiverT);
  }
  ReceiverInUse inUse = ReceiverInUse::Pts;
  if (The.Pipeline.PtkFound) {
    inUse = ReceiverInUse::Ptk;
  } else {
    const std::int32_t found = Options.LookForPTK ? PortSearch(highestPort) : 0;
    if (found > 0) {
      The.View.ShowSelectedPort(found);
      const bool started =
          The.Protocol.LastReply == "START" ||
          The.Protocol.ReceiverStartUp(static_cast<unsigned char>(The.Remote.ReceiverT));
      if (started) {
        The.View.PtkReceiverInUse();
        inUse = ReceiverInUse::Ptk;
      } else {
        // The program goes on: the configuration and the learning window stay usable, and the
        // receiver can be started again from the learning window.
        Message(Say(DiscoveryText::UnableInitializeAtStart), MessageKind::Error);
        The.View.Log(Say(DiscoveryText::GoingOnWithoutReceiver));
        inUse = ReceiverInUse::PtkStartFailed;
      }
    } else if (Options.CPUSpeedWarning) {
      CheckProcessorClock();
    }
  }
  The.Pipeline.ReceiveMode = ReceiveModeKind::Execute;
  The.Pipeline.ReceiveEnabled = true;
  return inUse;
}

void ReceiverDiscovery::PortOpened() {
  if (The.Pipeline.PtkFound) return;
  The.View.SetConfigurationEnabled(false);
  The.Protocol.ResetReceiver();
  WaitPumping(The.Loop, The.Clock, AnswerWaitMs);
  The.View.SetConfigurationEnabled(true);
}

bool ReceiverDiscovery::Restart() {
  if (!The.Pipeline.PtkFound) return false;
  The.View.ShowHint(Say(DiscoveryText::Restarting));
  The.View.Log(Say(DiscoveryText::RestartReceiver));
  return The.Protocol.ReceiverStartUp(MinReceiverT);
}

bool ReceiverDiscovery::StartFromLabel(std::int32_t highestPort) {
  if (!The.Pipeline.PtkFound && The.Protocol.ReceiverVersion.empty()) {
    const std::int32_t found = PortSearch(highestPort);
    if (found == 0) {
      Message(std::string(Text(PtkText::ReceiverNotFound, Options.Language)), MessageKind::Error);
      return false;
    }
    The.View.ShowSelectedPort(found);
  }
  if (!The.Protocol.ReceiverStartUp(static_cast<unsigned char>(The.Remote.ReceiverT))) {
    Message(Say(DiscoveryText::UnableInitialize), MessageKind::Error);
    return false;
  }
  The.View.PtkReceiverInUse();
  return true;
}

bool ReceiverDiscovery::CheckProcessorClock() {
  const std::optional<double> clock = The.System.ProcessorClockMHz();
  if (!clock || *clock >= MinimumClockMHz) return true;
  Message(CpuSpeedWarningText(Options.Language, *clock), MessageKind::Warning);
  return false;
}

void ReceiverDiscovery::Message(const std::string& text, MessageKind kind) {
  ShowMessageBox(The.Boxes, Options.Language, text, MessageButtons::Ok, kind);
}

}  // namespace quillon
