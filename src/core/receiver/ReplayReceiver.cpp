#include "core/receiver/ReplayReceiver.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace quillon {

namespace {

// Longer than any burst line (the longest capture line holds a few thousand characters); a
// longer one is no list of durations, and is not kept in memory.
constexpr std::size_t MaxLineLength = 65536;

Error LineError(std::int32_t lineNumber, const std::string& what) {
  return Error{"line " + std::to_string(lineNumber) + ": " + what};
}

}  // namespace

ReplayReceiver::ReplayReceiver(ReceivePipeline& pipeline, platform::EventLoop& loop,
                               const platform::Clock& clock, ReceiverEvents events,
                               ReplayOptions options)
    : Events(std::move(events)),
      Options(options),
      Player(pipeline, loop, clock, [this] { Drained(); }) {}

ReplayReceiver::ReplayReceiver(ReceivePipeline& pipeline, platform::EventLoop& loop,
                               const platform::Clock& clock, platform::IrDevice& input,
                               std::string path, ReceiverEvents events, ReplayOptions options)
    : ReplayReceiver(pipeline, loop, clock, std::move(events), options) {
  Input = &input;
  Path = std::move(path);
}

ReplayReceiver::~ReplayReceiver() { Stop(); }

Result<Done> ReplayReceiver::Start() {
  if (Started) return Done{};
  if (Input != nullptr) {
    platform::IrInputHandlers handlers;
    handlers.DataRead = [this](std::int64_t, const std::string& bytes) {
      if (auto fed = Feed(bytes); !fed) Fail(Path + ": " + fed.ErrorMessage());
    };
    handlers.Ended = [this](const Result<Done>& end) {
      if (!end) {
        Fail(end.ErrorMessage());  // it names the path
      } else if (auto ended = EndOfInput(); !ended) {
        Fail(Path + ": " + ended.ErrorMessage());
      }
    };
    auto opened = Input->Open(Path, std::move(handlers));
    if (!opened) return Error{opened.ErrorMessage()};
    if (opened.Value() == platform::IrInputKind::Live) {
      Input->Close();
      return Error{Path + " is a kernel IR device, not a recording: it is no input to replay"};
    }
  }
  Started = true;
  std::vector<std::vector<std::int64_t>> early;
  early.swap(Early);
  const bool ended = InputEnded;
  for (auto& durations : early) {
    if (auto queued = QueueBurst(std::move(durations)); !queued) {
      Stop();
      return queued;
    }
  }
  if (ended) QueueEnd();
  return Done{};
}

void ReplayReceiver::Stop() {
  if (Input != nullptr) Input->Close();
  Player.Clear();
  Started = false;
  InputEnded = false;
  EndQueued = false;
  Early.clear();
  Partial.clear();
  LineNumber = 0;
}

Result<Done> ReplayReceiver::Queue(std::span<const CaptureRecord> records) {
  for (const CaptureRecord& record : records) {
    if (auto queued = QueueBurst(record.Durations); !queued) {
      return LineError(record.LineNumber, queued.ErrorMessage());
    }
  }
  return Done{};
}

Result<Done> ReplayReceiver::Feed(std::string_view text) {
  std::optional<Error> firstError;
  for (std::size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
    Partial.append(text.substr(0, end));
    text.remove_prefix(end + 1);
    std::string line;
    line.swap(Partial);
    if (auto taken = TakeLine(line); !taken && !firstError)
      firstError = Error{taken.ErrorMessage()};
  }
  Partial.append(text);
  if (Partial.size() > MaxLineLength) {
    Partial.clear();
    return LineError(LineNumber + 1, "longer than " + std::to_string(MaxLineLength) +
                                         " characters: no list of durations");
  }
  if (firstError) return *firstError;
  return Done{};
}

Result<Done> ReplayReceiver::EndOfInput() {
  if (InputEnded) return Done{};
  Result<Done> last = Done{};
  if (!Partial.empty()) {
    std::string line;
    line.swap(Partial);
    last = TakeLine(line);
  }
  InputEnded = true;
  if (Started) QueueEnd();
  return last;
}

Result<Done> ReplayReceiver::TakeLine(std::string_view line) {
  ++LineNumber;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (!line.empty() && line.front() == '#') return Done{};
  std::vector<std::int64_t> durations;
  std::size_t at = 0;
  while (at < line.size()) {
    at = line.find_first_not_of(" \t", at);
    if (at == std::string_view::npos) break;
    const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
    const std::string_view token = line.substr(at, end - at);
    std::int64_t value = 0;
    const auto [stop, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc() || stop != token.data() + token.size() || value <= 0) {
      return LineError(LineNumber, "\"" + std::string(token.substr(0, 40)) +
                                       "\" is not a positive duration in ticks");
    }
    durations.push_back(value);
    at = end;
  }
  if (auto queued = QueueBurst(std::move(durations)); !queued) {
    return LineError(LineNumber, queued.ErrorMessage());
  }
  return Done{};
}

Result<Done> ReplayReceiver::QueueBurst(std::vector<std::int64_t> durations) {
  if (!Started) {
    Early.push_back(std::move(durations));
    return Done{};
  }
  return Player.Queue(std::move(durations),
                      std::int64_t{Options.GapMs} * platform::CounterTicksPerMillisecond);
}

void ReplayReceiver::QueueEnd() {
  EndQueued = true;
  // A wait alone, which the player never refuses; Drained() follows it.
  [[maybe_unused]] const auto waiting =
      Player.Queue({}, std::int64_t{Options.GapMs} * platform::CounterTicksPerMillisecond);
}

void ReplayReceiver::Drained() {
  if (!Started || !EndQueued) return;
  Stop();
  if (Events.Finished) Events.Finished(Done{});
}

void ReplayReceiver::Fail(const std::string& message) {
  Stop();
  if (Events.Finished) Events.Finished(Error{message});
}

}  // namespace quillon
