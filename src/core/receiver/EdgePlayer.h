#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "core/common/Result.h"
#include "core/receiver/ReceivePipeline.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"

namespace quillon {

// Plays recorded bursts into the receive pipeline as timed edges, at the pace they were
// recorded, on a timer of the event loop: virtual time in tests, real time on a real loop.
//
// A burst opens at the timer tick that plays its first edge, and that tick's counter reading
// is the edge's; every later edge carries the reading the recorded durations give it, so the
// pipeline measures exactly the recorded durations however late the loop runs. Timers count
// whole milliseconds: an edge is taken on the last tick before its reading (less than 1 ms
// early). The burst window that a burst's first edge opens thus holds exactly the edges a
// receiver timing the same signal would give it. A burst longer than the window opens further
// windows, each on the tick that takes its first edge, up to 1 ms before that edge's reading,
// so an edge within 1 ms of such a window's end may fall into the next one.
class EdgePlayer {
 public:
  // More durations than this waiting to be played are refused: a recording that long is
  // garbage, and memory is not spent on it.
  static constexpr std::size_t MaxWaiting = 1'000'000;
  // About 214 s, the longest duration a capture file holds: far beyond any duration of a burst
  // or quiet worth waiting for.
  static constexpr std::int64_t MaxTicks = 2'147'483'647;

  // `drained` is called when the last queued burst has been played.
  EdgePlayer(ReceivePipeline& pipeline, platform::EventLoop& loop, const platform::Clock& clock,
             std::function<void()> drained);

  // Queues one burst: durations in counter ticks from a mark, each from 1 to MaxTicks. Its
  // first edge comes `idleTicks` (at most MaxTicks) after the last edge played before it, or at
  // once when nothing has been played since the player was created or cleared. An empty burst
  // is a wait of `idleTicks` alone.
  Result<Done> Queue(std::vector<std::int64_t> durations, std::int64_t idleTicks);

  // Drops everything queued; the next burst plays at once.
  void Clear();

  // Durations queued and not played yet.
  std::size_t Waiting() const { return WaitingCount; }

 private:
  struct Burst {
    std::vector<std::int64_t> Durations;
    std::int64_t IdleTicks = 0;
  };

  void Play();
  // Plays what is due of the front burst; true when it has been played to its end.
  bool PlayFront(std::int64_t now);
  void WakeAfter(std::int64_t milliseconds);

  ReceivePipeline& Pipeline;
  const platform::Clock& TheClock;
  std::function<void()> Drained;
  std::unique_ptr<platform::Timer> Tick;
  std::deque<Burst> Bursts;
  std::size_t WaitingCount = 0;
  std::size_t EdgesTaken = 0;  // of the front burst
  bool AnyPlayed = false;
  bool InPlay = false;
  std::int64_t LastEdge = 0;  // the counter reading of the last edge played (or wait ended)
};

}  // namespace quillon
