#include <CLI/CLI.hpp>

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/config/ConfigFile.h"
#include "core/config/KeyDispatch.h"
#include "core/receiver/ComPort.h"
#include "core/receiver/ReceiverChoice.h"
#include "core/receiver/ReceiverDiscovery.h"
#include "core/shell/Options.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/LinuxSerialPorts.h"
#include "platform/linux/LircDevice.h"
#include "platform/linux/PollEventLoop.h"
#include "platform/linux/RegFileRegistry.h"
#include "platform/linux/SerialPortTable.h"
#include "platform/linux/TermiosSerialDevice.h"
#include "quillon-tool/Commands.h"
#include "quillon-tool/Execution.h"

namespace quillon::tool {

namespace {

struct RunOptionsGiven {
  std::string Remote;
  std::string Config;
  std::string Receiver;
  std::string Ports;
  bool DryRun = false;
  bool Json = false;
};

// A receiver as the command line names it: "auto", a kind and a port ("ptk:COM3"), or a
// recording or kernel device ("replay:FILE", "lirc:DEVICE").
struct PortChoice {
  enum class Kind : std::uint8_t { Auto, Ptk, Pts, Other } Of = Kind::Auto;
  std::int32_t Port = 0;
};

Result<PortChoice> ParsePortChoice(const std::string& text) {
  if (text == "auto") return PortChoice{};
  if (text.starts_with("replay:") || text.starts_with("lirc:")) {
    return PortChoice{PortChoice::Kind::Other, 0};
  }
  const std::size_t colon = text.find(':');
  const std::string kind = text.substr(0, colon);
  PortChoice choice;
  if (kind == "ptk" || kind == "ptw") {
    choice.Of = PortChoice::Kind::Ptk;
  } else if (kind == "pts") {
    choice.Of = PortChoice::Kind::Pts;
  } else {
    return Error{"\"" + text +
                 "\": a receiver is ptk:COMn, ptw:COMn, pts:COMn, auto, replay:FILE or "
                 "lirc:DEVICE"};
  }
  std::string port = colon == std::string::npos ? "" : text.substr(colon + 1);
  if (port.starts_with("COM")) port.erase(0, 3);
  const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), choice.Port);
  if (port.empty() || ec != std::errc() || end != port.data() + port.size() || choice.Port < 1) {
    return Error{"\"" + text + "\": the port is COM1, COM2, ..."};
  }
  return choice;
}

std::string OneLine(const std::string& text) {
  std::string line;
  for (const char c : text) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  return line;
}

// What the receiver side shows, on standard error, so that standard output carries only the
// dispatched keys (and, with a dry run, their effects). Boxes are answered with their first
// button: there is nobody to ask.
struct ConsoleView : DiscoveryView, MessageBoxes {
  void ShowHint(const std::string& text) override { Say("hint", text); }
  void Log(const std::string& text) override { Say("log", text); }
  void ShowSelectedPort(std::int32_t port) override {
    if (port > 0) Say("port", "COM" + std::to_string(port));
  }
  void SetConfigurationEnabled(bool) override {}
  void PtkReceiverInUse() override { Say("receiver", "a PTK/PTW receiver is in use"); }
  MessageAnswer Show(const MessageBoxContent& box) override {
    Say("message", box.Text);
    return box.Buttons.empty() ? MessageAnswer::Ok : box.Buttons.front().Answer;
  }
  static void Say(const char* what, const std::string& text) {
    std::cerr << what << ": " << OneLine(text) << "\n" << std::flush;
  }
};

// Hands every key code to the dispatcher and prints what it did. An empty code that found
// nothing is no button: a microcontroller receiver's short line without a learned repeat
// frame, or the burst its byte arrivals make, which only the line carries meaning for.
struct PrintingDispatcher : KeyDispatcher {
  PrintingDispatcher(CommandDispatcher& dispatcher, Outcome& outcome, Execution& execution,
                     bool json)
      : Dispatcher(dispatcher), TheOutcome(outcome), TheExecution(execution), Json(json) {}
  void KeyDispatch(const std::string& code, bool repeatFrame) override {
    TheOutcome.Reset();
    Dispatcher.KeyDispatch(code, repeatFrame);
    if (code.empty() && !repeatFrame && !Dispatcher.LastMatch.Found) return;
    PrintDispatch(++Presses, Received{code, repeatFrame}, Dispatcher, TheOutcome, Json);
    TheExecution.PrintNewEffects(Json);
  }
  CommandDispatcher& Dispatcher;
  Outcome& TheOutcome;
  Execution& TheExecution;
  bool Json;
  std::size_t Presses = 0;
};

// SIGINT and SIGTERM end the run through the loop: blocked in every thread, taken by one
// thread that posts the stop. Blocked before any other thread starts, so all inherit it.
class StopSignals {
 public:
  StopSignals() {
    sigemptyset(&Set);
    sigaddset(&Set, SIGINT);
    sigaddset(&Set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &Set, &Previous);
  }
  ~StopSignals() {
    if (Waiter.joinable()) {
      pthread_kill(Waiter.native_handle(), SIGTERM);
      Waiter.join();
    }
    pthread_sigmask(SIG_SETMASK, &Previous, nullptr);
  }
  void PostTo(platform::EventLoop& loop, std::function<void()> stop) {
    Waiter = std::thread([this, &loop, stop = std::move(stop)] {
      int signal = 0;
      if (sigwait(&Set, &signal) == 0 && !Leaving) loop.Post(stop);
    });
  }
  void Leave() { Leaving = true; }

 private:
  sigset_t Set{};
  sigset_t Previous{};
  std::thread Waiter;
  std::atomic<bool> Leaving{false};
};

std::vector<std::string> PortTable(const std::string& ports) {
  if (!ports.empty()) return platform::SerialPortTable("/dev", false, platform::PortList(ports));
  const char* extra = std::getenv("QUILLON_PORTS");
  return platform::SerialPortTable("/dev", true, platform::PortList(extra != nullptr ? extra : ""));
}

}  // namespace

void AddRunCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<RunOptionsGiven>();
  CLI::App* command = app.add_subcommand(
      "run",
      "The program's main job without its windows: loads a remote and a configuration, finds "
      "or opens the receiver and starts it, then every button pressed is decoded, dispatched "
      "and carried out (with --dry-run on an in-memory desktop whose effects are printed). "
      "Hints and the receiver's log go to standard error. Ends on Ctrl-C, stopping the "
      "receiver, or at the end of a replay.");
  command->add_option("--remote", options->Remote, "remote data file (.IRD)")->required();
  command->add_option("--config", options->Config, "configuration file (.rir)")->required();
  command
      ->add_option("--receiver", options->Receiver,
                   "ptk:COMn or ptw:COMn (a microcontroller receiver on that port), pts:COMn "
                   "(the bare receiver on that port's carrier-detect line), or auto (search "
                   "the ports as the program does at start), replay:FILE (recorded bursts, "
                   "at their pace; the run ends after the last), or lirc:DEVICE (a kernel IR "
                   "device such as /dev/lirc0, or a mode2 recording)")
      ->required();
  command->add_option("--ports", options->Ports,
                      "the port table, exactly: devices separated by ':' or ',', the first is "
                      "COM1 (default: the machine's serial ports, then QUILLON_PORTS)");
  command->add_flag("--dry-run", options->DryRun,
                    "execute on an in-memory desktop and print the effects");
  command->add_flag("--json", options->Json,
                    "one JSON object per key: press, key, hint, record, GroupDepth; with "
                    "--dry-run one object per effect after it");
  command->callback([options, &status] {
    auto choice = ParsePortChoice(options->Receiver);
    if (!choice) {
      ReportError(choice.ErrorMessage());
      status = BadInput;
      return;
    }
    CurrentRemote remote;
    auto load = LoadRemoteForTool(options->Remote, remote);
    if (!load) {
      ReportError(load.ErrorMessage());
      status = BadInput;
      return;
    }
    auto config = ReadConfigurationFile(options->Config);
    if (!config) {
      ReportError(options->Config + ": " + config.ErrorMessage());
      status = BadInput;
      return;
    }
    ConfigTree tree;
    tree.Assign(std::move(config).Value().Nodes);

    // The user's options where there are any; read, never written.
    Options settings;
    std::int32_t configuredPort = 1;
    if (auto file =
            platform::RegistryFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"))) {
      platform::RegFileRegistry registry(file.Value());
      settings = ReadOptions(registry);
      configuredPort = ReadComPort(registry, settings::Com);
    }

    StopSignals signals;
    platform::LinuxClock clock;
    platform::PollEventLoop loop(clock);
    Outcome outcome;
    DispatchOptions dispatchOptions;
    dispatchOptions.ShowUnknownButton = settings.ShowUnknownButton;
    std::unique_ptr<Execution> execution;
    if (options->DryRun) {
      execution = Execution::DryRun(loop, clock, tree, outcome, dispatchOptions.Language);
    } else {
      auto real = Execution::Real(loop, clock, outcome, dispatchOptions.Language);
      if (!real) {
        ReportError(real.ErrorMessage());
        status = BadInput;
        return;
      }
      execution = std::move(real).Value();
    }
    outcome.Executor = &execution->Executor();

    const ReceiveSettings receiveSettings = ToReceiveSettings(settings);
    ReceivePipeline pipeline(loop, receiveSettings, remote.Timings, remote.Limits);
    pipeline.MultiLevelCoding = load.Value().MultiLevelCoding;
    CommandDispatcher dispatcher(pipeline, tree, *remote.Record, outcome, outcome, loop, clock,
                                 dispatchOptions);
    PrintingDispatcher printing(dispatcher, outcome, *execution, options->Json);
    const BurstConsumers consumers{&printing,           nullptr, nullptr, nullptr,
                                   &dispatcher.Matcher, nullptr};
    pipeline.SetConsumers(consumers);

    platform::TermiosSerialDevice device(loop, clock);
    PulseCapture capture(pipeline, device);
    ConsoleView view;
    PtkOptions ptkOptions{settings.KeysDelay, dispatchOptions.Language};
    PtkProtocol protocol(pipeline, capture, device, loop, clock, *remote.Record, view, ptkOptions);
    protocol.SetConsumers(consumers, {});
    const platform::LinuxSerialPorts ports(PortTable(options->Ports));
    AfComPort port(ports, protocol);
    const DiscoveryOptions discoveryOptions{settings.LookForPTK, settings.CPUSpeedWarning,
                                            dispatchOptions.Language};
    ReceiverDiscovery discovery({pipeline, protocol, port, ports, execution->System(), loop, clock,
                                 *remote.Record, view, view},
                                discoveryOptions);
    port.OnPortOpen = [&discovery] { discovery.PortOpened(); };

    bool stopping = false;
    signals.PostTo(loop, [&stopping] { stopping = true; });

    platform::LircDevice input(loop, clock);
    std::unique_ptr<Receiver> recorded;

    const auto fail = [&](const std::string& message) {
      ReportError(message);
      status = 1;
      signals.Leave();
    };
    switch (choice.Value().Of) {
      case PortChoice::Kind::Auto: {
        const std::int32_t highest = HighestFreePort(ports);
        if (highest == 0) return fail("No free COM port !!!");
        if (auto set = port.SetComNumber(std::min(configuredPort, highest)); !set) {
          return fail(set.ErrorMessage());
        }
        discovery.StartAtProgramStart(highest);
        if (!port.IsOpen()) {
          if (auto opened = port.Open(); !opened) return fail(opened.ErrorMessage());
        }
        break;
      }
      case PortChoice::Kind::Ptk: {
        if (auto set = port.SetComNumber(choice.Value().Port); !set) {
          return fail(set.ErrorMessage());
        }
        if (auto opened = port.Open(); !opened) return fail(opened.ErrorMessage());
        if (!pipeline.PtkFound) {
          return fail("no receiver answered on COM" + std::to_string(choice.Value().Port));
        }
        // Keys pressed as soon as the receiver runs count: the start's last waits are for its
        // answers, not for the user.
        pipeline.ReceiveMode = ReceiveModeKind::Execute;
        pipeline.ReceiveEnabled = true;
        const auto t = static_cast<unsigned char>(remote.Record->ReceiverT);
        if (!protocol.ReceiverStartUp(std::max<std::uint8_t>(t, MinReceiverT))) {
          return fail("the receiver on COM" + std::to_string(choice.Value().Port) +
                      " would not start");
        }
        break;
      }
      case PortChoice::Kind::Other: {
        ReceiverEvents events;
        events.Finished = [&](const Result<Done>& end) {
          if (!end) {
            ReportError(end.ErrorMessage());
            status = 1;
          }
          stopping = true;
        };
        events.Problem = [](const std::string& message) { ConsoleView::Say("log", message); };
        auto created = CreateReceiver(options->Receiver, pipeline, loop, clock, input, events);
        if (!created) return fail(created.ErrorMessage());
        recorded = std::move(created).Value();
        pipeline.ReceiveMode = ReceiveModeKind::Execute;
        pipeline.ReceiveEnabled = true;
        if (auto started = recorded->Start(); !started) return fail(started.ErrorMessage());
        break;
      }
      case PortChoice::Kind::Pts: {
        if (auto set = port.SetComNumber(choice.Value().Port); !set) {
          return fail(set.ErrorMessage());
        }
        if (auto opened = port.Open(); !opened) return fail(opened.ErrorMessage());
        if (settings.CPUSpeedWarning) discovery.CheckProcessorClock();
        break;
      }
    }
    pipeline.ReceiveMode = ReceiveModeKind::Execute;
    pipeline.ReceiveEnabled = true;
    ConsoleView::Say("ready", "press buttons; Ctrl-C ends");

    while (!stopping && !execution->Ended()) loop.RunUntil(clock.TickCount() + 100);
    execution->FinishCountdown();
    pipeline.ReceiveEnabled = false;
    if (recorded) recorded->Stop();
    if (pipeline.PtkFound && port.IsOpen()) protocol.StopReceiver();
    port.Close();
    signals.Leave();
  });
}

}  // namespace quillon::tool
