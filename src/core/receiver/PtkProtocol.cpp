#include "core/receiver/PtkProtocol.h"

#include <algorithm>
#include <utility>

#include "core/common/WaitPumping.h"
#include "core/receiver/PtkReplies.h"

namespace quillon {

namespace {

constexpr std::uint32_t BytePauseMs = 10;
constexpr std::int32_t AnswerPasses = 60;
constexpr std::uint32_t AnswerGraceMs = 500;
constexpr std::uint32_t ReopenPauseMs = 100;
constexpr std::uint32_t StepPauseMs = 10;
constexpr std::uint32_t ResetPauseMs = 500;
constexpr std::int32_t Attempts = 2;

// From the hold-button test on, every line counts: the hold-off would drop the repeats the
// test measures.
bool HoldOffApplies(ReceiveModeKind mode) {
  return mode == ReceiveModeKind::Execute || mode == ReceiveModeKind::LearnButton ||
         mode == ReceiveModeKind::SignalLengthTest;
}

}  // namespace

std::uint8_t ClampReceiverT(std::int32_t t) {
  return static_cast<std::uint8_t>(std::clamp<std::int32_t>(t, MinReceiverT, MaxReceiverT));
}

PtkProtocol::PtkProtocol(ReceivePipeline& pipeline, PulseCapture& capture,
                         platform::SerialDevice& device, platform::EventLoop& loop,
                         const platform::Clock& clock, RemoteData& remote, ReceiverView& view,
                         const PtkOptions& options)
    : Pipeline(pipeline),
      Capture(capture),
      Device(device),
      Loop(loop),
      Clock(clock),
      Remote(remote),
      View(view),
      Options(options),
      TimeKey(loop.CreateTimer([this] { TimeKeyTimer(); })),
      ReportTimer(loop.CreateTimer([this] { LeaveErrorReport(); })) {
  ReportTimer->SetInterval(ErrorReportMs);
}

PtkProtocol::~PtkProtocol() { ClosePort(); }

void PtkProtocol::SetConsumers(const BurstConsumers& consumers,
                               const KeyLineConsumers& lineConsumers) {
  Consumers = consumers;
  LineConsumers = lineConsumers;
}

platform::SerialHandlers PtkProtocol::Handlers() {
  platform::SerialHandlers handlers;
  handlers.CarrierChanged = [this](std::int64_t counter) { Capture.CarrierChanged(counter); };
  handlers.DataReceived = [this](std::int64_t counter, std::size_t) {
    Capture.DataArrived(counter);
    PICDataReceived(counter);
  };
  handlers.Problem = [this](const std::string& message) {
    View.Log(Say(PtkText::PortProblem) + message);
  };
  return handlers;
}

Result<Done> PtkProtocol::OpenPort(const std::string& path, std::int32_t comNumber) {
  PortPath = path;
  ComNumber = comNumber;
  LineBuffer.clear();
  return Device.Open(path, Handlers());
}

void PtkProtocol::ClosePort() {
  if (Device.IsOpen()) Device.Close();
}

void PtkProtocol::ReopenPort() {
  ClosePort();
  WaitPumping(Loop, Clock, ReopenPauseMs);
  const Result<Done> opened = Device.Open(PortPath, Handlers());
  if (!opened) View.Log(Say(PtkText::PortProblem) + opened.ErrorMessage());
  WaitPumping(Loop, Clock, ReopenPauseMs);
}

void PtkProtocol::PICDataReceived(std::int64_t counter) {
  LineBuffer += Device.ReadAll();
  const std::vector<std::string> lines = TakeCompleteLines(LineBuffer);
  if (LineBuffer.size() > MaxLineLength) {
    View.Log(Say(PtkText::LineDropped) + std::to_string(LineBuffer.size()));
    LineBuffer.clear();
  }
  for (const std::string& line : lines) {
    if (line.size() > MaxLineLength) {
      View.Log(Say(PtkText::LineDropped) + std::to_string(line.size()));
      continue;
    }
    HandleLine(line, counter);
  }
}

void PtkProtocol::HandleLine(const std::string& line, std::int64_t counter) {
  const ReplyKind kind = ClassifyLine(line, ErrorMode);
  if (ErrorMode && kind != ReplyKind::ErrorReportLine && kind != ReplyKind::ErrorReportEnd) {
    LeaveErrorReport();  // its "T=" line was lost
  }
  switch (kind) {
    case ReplyKind::NewOk:
      AwaitingNewOk = false;
      break;
    case ReplyKind::NewD:
    case ReplyKind::NewDInverse: {
      const std::int32_t byte = ReplyByte(line);
      const std::string d = std::to_string(kind == ReplyKind::NewD ? byte + 126 : 127 - byte);
      View.Log(Say(PtkText::NewD) + d);
      View.Log(Say(PtkText::Delay) + d);
      break;
    }
    case ReplyKind::NewT:
      LastReply = "New T";
      View.Log(Say(PtkText::NewT) + std::to_string(ReplyByte(line)));
      View.Log(Say(PtkText::ReceiverOk));
      break;
    case ReplyKind::GetVersion:
      View.Log(Say(PtkText::GetMyVersion));
      break;
    case ReplyKind::Stopped:
      LastReply = "STOP";
      View.Log(Say(PtkText::Stop));
      View.Log(Say(PtkText::StopReceiver));
      break;
    case ReplyKind::Started:
      LastReply = "START";
      View.Log(Say(PtkText::Start));
      View.Log(Say(PtkText::StartReceiver));
      break;
    case ReplyKind::SerialNumberAsked:
      View.Log(Say(PtkText::GetSerialNumber));
      break;
    case ReplyKind::OtherNewRx:
      View.Log(Say(PtkText::NewRxOk));
      break;
    case ReplyKind::SerialNumber:
    case ReplyKind::UnknownCommand:
      View.Log(line);
      break;
    case ReplyKind::Echo:
      HandleEcho(line);
      break;
    case ReplyKind::Identification:
      ReceiverVersion = line;
      Pipeline.PtkFound = true;
      View.Log(Say(PtkText::ReceiverVersion) + line);
      break;
    case ReplyKind::Found:
      ReceiverVersion = line.substr(0, ReceiverVersionLength);
      Pipeline.PtkFound = true;
      View.ShowHint(Say(PtkText::Found) + ReceiverVersion + Say(PtkText::AtCom) +
                    std::to_string(ComNumber));
      break;
    case ReplyKind::Error:
      EnterErrorReport();
      break;
    case ReplyKind::ErrorReportLine:
      ErrorDump += line;
      if (ErrorDump.size() > MaxErrorDump) LeaveErrorReport();
      break;
    case ReplyKind::ErrorReportEnd:
      EndErrorReport();
      break;
    case ReplyKind::KeyData:
      KeyData(line, counter);
      break;
  }
}

void PtkProtocol::HandleEcho(const std::string& line) {
  LastReply = line;
  Pipeline.LineHoldOff = false;
  const std::string_view command = std::string_view(line).substr(3);
  if (command.starts_with("T")) {
    View.Log(Say(PtkText::InitializingReceiver));
  } else if (command.starts_with("V0")) {
    View.Log(Say(PtkText::GetReceiverVersion));
  } else if (command.starts_with("St")) {
    View.Log(Say(PtkText::StartingReceiver));
  } else if (command.starts_with("Sp")) {
    View.Log(Say(PtkText::StoppingReceiver));
  }
}

void PtkProtocol::EnterErrorReport() {
  ErrorMode = true;
  ErrorDump.clear();
  ReportTimer->Disable();
  ReportTimer->Enable();
  View.Log(Say(PtkText::Error));
}

void PtkProtocol::LeaveErrorReport() {
  ReportTimer->Disable();
  ErrorMode = false;
  ErrorDump.clear();
  View.Log(Say(PtkText::ErrorReportIgnored));
}

void PtkProtocol::EndErrorReport() {
  ReportTimer->Disable();
  ErrorMode = false;
  const std::uint8_t byte = NewTDataByte(ErrorDump);
  ErrorDump.clear();
  // A report that ends while the new T data of an earlier one is sent or awaited is answered
  // once that exchange is over, the latest such report only: answered at once, it would nest
  // one exchange's waits in the other's, deeper and deeper while reports keep coming.
  if (AwaitingNewOk) {
    PendingNewTData = byte;
    return;
  }
  for (std::optional<std::uint8_t> next = byte; next;
       next = std::exchange(PendingNewTData, std::nullopt)) {
    View.Log(Say(PtkText::SendNewT));
    SendNewTData(*next);
  }
}

void PtkProtocol::KeyData(const std::string& line, std::int64_t counter) {
  if (Pipeline.LineHoldOff && HoldOffApplies(Pipeline.ReceiveMode)) return;
  Pipeline.LineHoldOff = true;
  TimeKey->Disable();
  TimeKey->SetInterval(static_cast<std::uint32_t>(std::max(Options.KeysDelay, 1)));
  TimeKey->Enable();
  if (!Pipeline.ReceiveEnabled) {
    Pipeline.EdgePhase = false;
    if (Consumers.StartLearning != nullptr) Consumers.StartLearning->EdgeWhileReceptionOff();
    return;
  }
  const KeyLine keyLine{
      line, DecodeKeyLine(line, VariantFor(Pipeline.ReceiveMode), Repeats, Remote.Repeat), counter};
  HandOverKeyLine(Pipeline, Consumers, LineConsumers, keyLine);
}

void PtkProtocol::TimeKeyTimer() {
  TimeKey->Disable();
  Pipeline.LineHoldOff = false;
}

void PtkProtocol::SendBytes(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    Device.Write(bytes.substr(i, 1));
    WaitPumping(Loop, Clock, BytePauseMs);
  }
}

bool PtkProtocol::WaitForAnswer(const std::function<bool()>& answered) {
  for (std::int32_t pass = 1; pass <= AnswerPasses; ++pass) {
    WaitPumping(Loop, Clock, static_cast<std::uint32_t>(pass));
    if (answered()) break;
  }
  WaitPumping(Loop, Clock, AnswerGraceMs);
  return answered();
}

bool PtkProtocol::Command(std::string_view bytes, std::string_view keyword) {
  // A keyword left from an earlier command must not pass for this one's answer.
  LastReply.clear();
  SendBytes(bytes);
  return WaitForAnswer([this, keyword] { return LastReply == keyword; });
}

bool PtkProtocol::StartReceiver() { return Command("RX>St", "START"); }

bool PtkProtocol::StopReceiver() { return Command("RX>Sp", "STOP"); }

bool PtkProtocol::SendNewT(std::uint8_t t) {
  return Command(std::string("RX>T") + static_cast<char>(t), "New T");
}

void PtkProtocol::ResetReceiver() { SendBytes("RX>Rt"); }

void PtkProtocol::AskSerialNumber() { SendBytes("RX>No"); }

bool PtkProtocol::SendNewTData(std::uint8_t byte) {
  AwaitingNewOk = true;
  SendBytes(std::string("PTK") + static_cast<char>(byte) + "X");
  const bool answered = WaitForAnswer([this] { return !AwaitingNewOk; });
  AwaitingNewOk = false;  // the exchange is over: a late "New-Ok" finds nobody waiting
  return answered;
}

bool PtkProtocol::ReceiverStartUp(std::uint8_t receiverT) {
  ReceiverT = ClampReceiverT(receiverT);
  View.ShowHint(Say(PtkText::InitializingPleaseWait));
  bool tuned = false;
  for (std::int32_t attempt = 0; attempt < Attempts && !tuned; ++attempt) {
    View.ShowHint(Say(StopReceiver() ? PtkText::StopReceiverDone : PtkText::StopReceiverError));
    WaitPumping(Loop, Clock, StepPauseMs);
    Remote.ReceiverT = static_cast<char>(ReceiverT);
    tuned = SendNewT(ReceiverT);
    if (!tuned) {
      View.ShowHint(Say(PtkText::ErrorRestarting));
      LastReply.clear();
      ReopenPort();
      WaitPumping(Loop, Clock, StepPauseMs);
      ResetReceiver();
      WaitPumping(Loop, Clock, ResetPauseMs);
      tuned = SendNewT(ReceiverT);
    }
    if (tuned) View.ShowHint(Say(PtkText::ReceiverReady));
  }
  bool started = false;
  if (tuned) {
    WaitPumping(Loop, Clock, StepPauseMs);
    for (std::int32_t attempt = 0; attempt < Attempts && !started; ++attempt) {
      started = StartReceiver();
    }
    View.ShowHint(Say(started ? PtkText::StartReceiverDone : PtkText::StartReceiverError));
  }
  if (!started) View.ShowHint(Say(PtkText::ReceiverNotFound));
  Pipeline.PtkFound = started;
  return started;
}

}  // namespace quillon
