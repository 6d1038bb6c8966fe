#include "core/receiver/EdgePlayer.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr std::int64_t Millisecond = platform::CounterTicksPerMillisecond;

}  // namespace

EdgePlayer::EdgePlayer(ReceivePipeline& pipeline, platform::EventLoop& loop,
                       const platform::Clock& clock, std::function<void()> drained)
    : Pipeline(pipeline),
      TheClock(clock),
      Drained(std::move(drained)),
      Tick(loop.CreateTimer([this] { Play(); })) {}

Result<Done> EdgePlayer::Queue(std::vector<std::int64_t> durations, std::int64_t idleTicks) {
  if (WaitingCount + durations.size() > MaxWaiting) {
    return Error{"more than " + std::to_string(MaxWaiting) + " durations wait to be played"};
  }
  for (const std::int64_t duration : durations) {
    if (duration < 1 || duration > MaxTicks) {
      return Error{"a duration of " + std::to_string(duration) +
                   " ticks is no part of an infrared burst"};
    }
  }
  WaitingCount += durations.size();
  Bursts.push_back({std::move(durations), std::clamp<std::int64_t>(idleTicks, 0, MaxTicks)});
  if (Bursts.size() == 1 && !InPlay) Play();
  return Done{};
}

void EdgePlayer::Clear() {
  Tick->Disable();
  Bursts.clear();
  WaitingCount = 0;
  EdgesTaken = 0;
  AnyPlayed = false;
}

void EdgePlayer::Play() {
  Tick->Disable();
  InPlay = true;
  const std::int64_t now = TheClock.Counter();
  bool drained = false;
  while (!Bursts.empty() && PlayFront(now)) {
    Bursts.pop_front();
    EdgesTaken = 0;
    drained = Bursts.empty();
  }
  InPlay = false;
  if (drained && Drained) Drained();
}

bool EdgePlayer::PlayFront(std::int64_t now) {
  const Burst& burst = Bursts.front();
  if (EdgesTaken == 0) {
    const std::int64_t due = AnyPlayed ? LastEdge + burst.IdleTicks : now;
    if (due > now) {
      WakeAfter((due - now + Millisecond - 1) / Millisecond);  // at or after its time
      return false;
    }
    AnyPlayed = true;
    LastEdge = now;
    if (burst.Durations.empty()) return true;
    Pipeline.TakeEdge(now, EdgeSource::Measured);
    EdgesTaken = 1;
  }
  while (EdgesTaken <= burst.Durations.size()) {
    const std::int64_t due = LastEdge + burst.Durations[EdgesTaken - 1];
    if (due >= now + Millisecond) {
      WakeAfter((due - now) / Millisecond);  // the last tick before its time
      return false;
    }
    Pipeline.TakeEdge(due, EdgeSource::Measured);
    LastEdge = due;
    ++EdgesTaken;
    --WaitingCount;
  }
  return true;
}

void EdgePlayer::WakeAfter(std::int64_t milliseconds) {
  Tick->SetInterval(static_cast<std::uint32_t>(std::max<std::int64_t>(milliseconds, 1)));
  Tick->Enable();
}

}  // namespace quillon
