#include "replay/RecognitionRun.h"

#include <algorithm>

#include "core/config/ConfigTree.h"
#include "core/config/KeyDispatch.h"
#include "core/receiver/PtkProtocol.h"
#include "core/receiver/PulseCapture.h"
#include "platform/fake/FakeEventLoop.h"
#include "replay/CaptureReplay.h"
#include "replay/LearningDriver.h"
#include "replay/SimulatedPtk.h"

namespace quillon {

namespace {

constexpr std::string_view PortName = "COM1";
constexpr std::int32_t PortNumber = 1;

// Nothing is shown and nothing is carried out: only the key found counts.
struct Silent final : HintDisplay, CommandExecutor, ReceiverView {
  void IRShowHint(const std::string& /*text*/) override {}
  void CloseHint() override {}
  void ExecuteCommand(const CommandRecord& /*record*/) override {}
  void ShowHint(const std::string& /*text*/) override {}
  void Log(const std::string& /*text*/) override {}
};

// Hands each burst to the dispatcher and keeps what it found.
struct Recorder final : KeyDispatcher {
  explicit Recorder(CommandDispatcher& dispatcher) : Dispatcher(dispatcher) {}
  void KeyDispatch(const std::string& code, bool repeatFrame) override {
    Dispatcher.KeyDispatch(code, repeatFrame);
    Dispatched.push_back({code, repeatFrame, Dispatcher.LastMatch});
  }
  CommandDispatcher& Dispatcher;
  std::vector<Dispatch> Dispatched;
};

std::string KeyName(const RemoteData& remote, std::int32_t key) {
  return remote.Keys[static_cast<std::size_t>(key)].Name.Text();
}

}  // namespace

struct RecognitionRun::Parts {
  explicit Parts(CurrentRemote& remote) : Remote(remote) {}

  CurrentRemote& Remote;
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  ReceiveSettings Settings;
  ReceivePipeline Pipeline{Loop, Settings, Remote.Timings, Remote.Limits};
  ConfigTree Tree;
  Silent Shown;
  DispatchOptions Options;
  CommandDispatcher Dispatcher{Pipeline, Tree, *Remote.Record, Shown, Shown, Loop, Clock, Options};
  Recorder Keys{Dispatcher};
  SimulatedPtk Device{Loop, Clock};
  PulseCapture Capture{Pipeline, Device};
  PtkOptions ReceiverOptions;
  PtkProtocol Protocol{Pipeline, Capture,        Device, Loop,
                       Clock,    *Remote.Record, Shown,  ReceiverOptions};
  bool Ptk = false;
};

RecognitionRun::RecognitionRun(CurrentRemote& remote, bool multiLevelCoding)
    : The(std::make_unique<Parts>(remote)) {
  Parts& p = *The;
  p.Clock.AdvanceTo(platform::CounterTicksPerSecond);
  const BurstConsumers consumers{.Dispatcher = &p.Keys, .Judge = &p.Dispatcher.Matcher};
  p.Dispatcher.Matcher.UseTemplates(&remote.Templates);
  p.Pipeline.SetConsumers(consumers);
  p.Protocol.SetConsumers(consumers, {});
  p.Pipeline.MultiLevelCoding = multiLevelCoding;
  p.Pipeline.ReceiveEnabled = true;
  const RemoteData& record = *remote.Record;
  p.Ptk = record.LearnedWithPTK != 0;
  if (!p.Ptk) return;
  // The key timer as learning left it in the settings, and the receiver started with the T
  // the remote was learned with.
  p.ReceiverOptions.KeysDelay = std::max(record.KeyTimerInterval, 1);
  if (p.Protocol.OpenPort(std::string(PortName), PortNumber)) {
    p.Protocol.ReceiverStartUp(ClampReceiverT(static_cast<unsigned char>(record.ReceiverT)));
  }
}

RecognitionRun::~RecognitionRun() = default;

KeyMatcher& RecognitionRun::Matcher() { return The->Dispatcher.Matcher; }

std::vector<Dispatch> RecognitionRun::Press(std::span<const std::int64_t> durations) {
  Parts& p = *The;
  p.Keys.Dispatched.clear();
  if (p.Ptk) {
    p.Device.Press(durations);
  } else {
    PlayPress(p.Pipeline, p.Loop, p.Clock, durations);
  }
  return std::move(p.Keys.Dispatched);
}

std::string NameClasses::Root(std::string name) const {
  for (auto at = Parent.find(name); at != Parent.end() && at->second != name;
       at = Parent.find(name)) {
    name = at->second;
  }
  return name;
}

void NameClasses::Join(std::string_view label, std::string_view other) {
  const std::string a = Root(LearnedName(label));
  const std::string b = Root(LearnedName(other));
  if (a != b) Parent[a] = b;
}

bool NameClasses::Same(std::string_view label, std::string_view name) const {
  return Root(LearnedName(label)) == Root(LearnedName(name));
}

PressOutcome JudgePress(std::string_view label, const std::vector<Dispatch>& dispatches,
                        const RemoteData& remote, const NameClasses& classes) {
  const std::int32_t keys = std::min(remote.KeyCount, TableEntries);
  bool labelled = false;
  for (std::int32_t key = 1; key < keys && !labelled; ++key) {
    const std::string name = KeyName(remote, key);
    labelled = !name.empty() && classes.Same(label, name);
  }
  const auto found = [](const Dispatch& d) { return d.Match.Found && d.Match.KeyNumber > 0; };
  const auto other = [&](const Dispatch& d) {
    return found(d) && !classes.Same(label, KeyName(remote, d.Match.KeyNumber));
  };

  PressOutcome outcome;
  auto decisive = std::find_if(dispatches.begin(), dispatches.end(), other);
  if (decisive != dispatches.end()) {
    outcome.Of = Verdict::Wrong;
  } else if (decisive = std::find_if(dispatches.begin(), dispatches.end(), found);
             decisive != dispatches.end()) {
    outcome.Of = Verdict::Correct;
  }
  if (decisive != dispatches.end()) {
    outcome.Key = decisive->Match.KeyNumber;
    outcome.Name = KeyName(remote, *outcome.Key);
    outcome.Code = decisive->Code;
    outcome.Repeat = decisive->Repeat;
  } else {
    const auto coded = std::find_if(dispatches.begin(), dispatches.end(),
                                    [](const Dispatch& d) { return !d.Code.empty(); });
    if (coded != dispatches.end()) outcome.Code = coded->Code;
  }
  if (!labelled) outcome.Of = Verdict::Unlabelled;
  return outcome;
}

}  // namespace quillon
