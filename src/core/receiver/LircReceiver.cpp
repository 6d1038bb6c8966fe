#include "core/receiver/LircReceiver.h"

#include <algorithm>

#include "core/receiver/Mode2Word.h"

namespace quillon {

namespace {

constexpr std::int64_t TicksPerMicrosecond = 10;

// The time a word spans: the value of a pulse, space or timeout; other words take none.
std::int64_t WordTicks(std::uint32_t word) {
  const std::uint32_t kind = Mode2Kind(word);
  if (kind != Mode2Pulse && kind != Mode2Space && kind != Mode2Timeout) return 0;
  return std::int64_t{Mode2Value(word)} * TicksPerMicrosecond;
}

}  // namespace

LircReceiver::LircReceiver(ReceivePipeline& pipeline, platform::EventLoop& loop,
                           const platform::Clock& clock, platform::IrDevice& device,
                           std::string path, ReceiverEvents events, LircOptions options)
    : Pipeline(pipeline),
      Device(device),
      Path(std::move(path)),
      Events(std::move(events)),
      Options(options),
      Player(pipeline, loop, clock, [this] { Drained(); }),
      Decoder(options.IdleTicks) {}

LircReceiver::~LircReceiver() { Stop(); }

Result<Done> LircReceiver::Start() {
  if (Started) return Done{};
  platform::IrInputHandlers handlers;
  handlers.DataRead = [this](std::int64_t counter, const std::string& bytes) {
    DataRead(counter, bytes);
  };
  handlers.Ended = [this](const Result<Done>& end) { Ended(end); };
  auto opened = Device.Open(Path, std::move(handlers));
  if (!opened) return Error{opened.ErrorMessage()};
  Kind = opened.Value();
  Reader =
      Mode2Reader(Kind == platform::IrInputKind::Live ? Mode2Format::Binary : Mode2Format::Unknown);
  Decoder = Mode2Decoder(Options.IdleTicks);
  Started = true;
  return Done{};
}

void LircReceiver::Stop() {
  Device.Close();
  Player.Clear();
  Started = false;
  EndQueued = false;
  InBurst = false;
  Burst.clear();
  IdleBefore = 0;
}

void LircReceiver::DataRead(std::int64_t counter, const std::string& bytes) {
  std::vector<std::uint32_t> words;
  if (auto taken = Reader.Take(bytes, words); !taken) {
    Fail(Path + ": " + taken.ErrorMessage());
    return;
  }
  if (Kind == platform::IrInputKind::Live) {
    TakeLive(words, counter);
    ReportProblems();
    return;
  }
  std::vector<Mode2Segment> segments;
  for (const std::uint32_t word : words) Decoder.Take(word, 0, segments);
  ReportProblems();
  if (auto taken = TakeRecorded(segments); !taken) Fail(Path + ": " + taken.ErrorMessage());
}

void LircReceiver::TakeLive(const std::vector<std::uint32_t>& words, std::int64_t counter) {
  // The read's last word ended when the thread woke: each word began that much earlier than
  // the counter reading as it and the words after it span.
  std::vector<std::int64_t> starts(words.size());
  std::int64_t start = counter;
  for (std::size_t i = words.size(); i-- > 0;) {
    start -= WordTicks(words[i]);
    starts[i] = start;
  }
  std::vector<Mode2Segment> segments;
  for (std::size_t i = 0; i < words.size(); ++i) Decoder.Take(words[i], starts[i], segments);
  Decoder.EndPulse(segments);  // the pulse word came when the pulse ended
  for (const Mode2Segment& segment : segments) TakeLiveSegment(segment);
}

void LircReceiver::TakeLiveSegment(const Mode2Segment& segment) {
  switch (segment.Kind) {
    case Mode2SegmentKind::Idle:
      InBurst = false;
      return;
    case Mode2SegmentKind::Mark:
      if (!InBurst) {
        InBurst = true;
        LastEdge = segment.Start;
        Pipeline.TakeEdge(LastEdge, EdgeSource::Measured);
      }
      break;
    case Mode2SegmentKind::Space:
      break;
  }
  LastEdge += segment.Ticks;
  Pipeline.TakeEdge(LastEdge, EdgeSource::Measured);
}

Result<Done> LircReceiver::TakeRecorded(const std::vector<Mode2Segment>& segments) {
  for (const Mode2Segment& segment : segments) {
    if (segment.Kind == Mode2SegmentKind::Idle) {
      if (auto queued = QueueBurst(); !queued) return queued;
      IdleBefore += segment.Ticks;
      continue;
    }
    if (Burst.size() + Player.Waiting() >= EdgePlayer::MaxWaiting) {
      return Error{"more than " + std::to_string(EdgePlayer::MaxWaiting) +
                   " durations wait to be played"};
    }
    Burst.push_back(segment.Ticks);
  }
  return Done{};
}

Result<Done> LircReceiver::QueueBurst() {
  if (Burst.empty()) return Done{};
  const std::int64_t idle = std::min<std::int64_t>(
      IdleBefore, std::int64_t{Options.MaxIdleMs} * platform::CounterTicksPerMillisecond);
  std::vector<std::int64_t> burst;
  burst.swap(Burst);
  IdleBefore = 0;
  return Player.Queue(std::move(burst), idle);
}

void LircReceiver::Ended(const Result<Done>& end) {
  if (!end) {
    Fail(end.ErrorMessage());  // it names the path
    return;
  }
  if (Kind == platform::IrInputKind::Live) {
    Stop();
    if (Events.Finished) Events.Finished(Done{});
    return;
  }
  std::vector<std::uint32_t> words;
  if (auto finished = Reader.Finish(words); !finished) {
    Fail(Path + ": " + finished.ErrorMessage());
    return;
  }
  std::vector<Mode2Segment> segments;
  for (const std::uint32_t word : words) Decoder.Take(word, 0, segments);
  Decoder.EndPulse(segments);
  ReportProblems();
  auto taken = TakeRecorded(segments);
  if (taken) taken = QueueBurst();
  if (!taken) {
    Fail(Path + ": " + taken.ErrorMessage());
    return;
  }
  EndQueued = true;
  // A wait alone, which the player never refuses; Drained() follows it.
  [[maybe_unused]] const auto waiting =
      Player.Queue({}, std::int64_t{Options.MaxIdleMs} * platform::CounterTicksPerMillisecond);
}

void LircReceiver::ReportProblems() {
  for (const std::string& problem : Decoder.TakeProblems()) {
    if (Events.Problem) Events.Problem(Path + ": " + problem);
  }
}

void LircReceiver::Drained() {
  if (!Started || !EndQueued) return;
  Stop();
  if (Events.Finished) Events.Finished(Done{});
}

void LircReceiver::Fail(const std::string& message) {
  Stop();
  if (Events.Finished) Events.Finished(Error{message});
}

}  // namespace quillon
