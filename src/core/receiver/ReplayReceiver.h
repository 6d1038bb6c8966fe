#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/receiver/CaptureFile.h"
#include "core/receiver/EdgePlayer.h"
#include "core/receiver/Receiver.h"
#include "platform/IrDevice.h"

namespace quillon {

struct ReplayOptions {
  // From the last edge of a burst to the first of the next, and from the last burst to
  // Finished: longer than the burst window (SignalLength, 250 ms by default), so each burst is
  // decoded on its own and the last one before the replay ends.
  std::uint32_t GapMs = 1000;
};

// Replays recorded bursts as a receiver would deliver them: each burst's edges at their
// recorded pace (EdgePlayer), bursts GapMs apart, the first at once. The bursts come from a
// file or pipe read through a platform::IrDevice (capture files of samples/ir-captures, or
// plain lists of one burst per line, as CaptureFile reads them; a pipe may deliver the lines
// over time), or from the owner through Queue() and Feed().
class ReplayReceiver : public Receiver {
 public:
  // Bursts that the owner queues or feeds; Start() plays them, EndOfInput() ends the input.
  ReplayReceiver(ReceivePipeline& pipeline, platform::EventLoop& loop, const platform::Clock& clock,
                 ReceiverEvents events, ReplayOptions options = {});
  // Bursts read from `path` through `input` once started; the end of the file (or the last
  // writer closing the pipe) ends the input.
  ReplayReceiver(ReceivePipeline& pipeline, platform::EventLoop& loop, const platform::Clock& clock,
                 platform::IrDevice& input, std::string path, ReceiverEvents events,
                 ReplayOptions options = {});
  ~ReplayReceiver() override;
  ReplayReceiver(const ReplayReceiver&) = delete;
  ReplayReceiver& operator=(const ReplayReceiver&) = delete;

  Result<Done> Start() override;
  void Stop() override;

  // Queues the bursts of records read already (ReadCaptureFile, ParseBursts).
  Result<Done> Queue(std::span<const CaptureRecord> records);
  // Takes text as it comes, in pieces of any size: each complete line is a burst of durations
  // in ticks, '#' lines are comments and record headers, an empty line is a burst without
  // edges (a gap alone). A malformed line is an error with its line number, and is skipped.
  Result<Done> Feed(std::string_view text);
  // No more input: the unfinished last line is taken, and Finished follows the last burst.
  Result<Done> EndOfInput();

 private:
  Result<Done> TakeLine(std::string_view line);
  Result<Done> QueueBurst(std::vector<std::int64_t> durations);
  void QueueEnd();
  void Drained();
  void Fail(const std::string& message);

  platform::IrDevice* Input = nullptr;
  std::string Path;
  ReceiverEvents Events;
  ReplayOptions Options;
  EdgePlayer Player;
  bool Started = false;
  bool InputEnded = false;
  bool EndQueued = false;                        // the wait after the last burst
  std::vector<std::vector<std::int64_t>> Early;  // queued before Start()
  std::string Partial;                           // an unfinished line
  std::int32_t LineNumber = 0;
};

}  // namespace quillon
