#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/receiver/EdgePlayer.h"
#include "core/receiver/Mode2Decoder.h"
#include "core/receiver/Mode2Reader.h"
#include "core/receiver/Receiver.h"
#include "platform/IrDevice.h"

namespace quillon {

struct LircOptions {
  // A space at least this long ends a burst, and the next pulse begins one afresh. Longer than
  // the spaces within a press (the longest in the recordings of samples/ir-captures is 117 ms),
  // shorter than the quiet between two presses.
  std::int64_t IdleTicks = 200 * platform::CounterTicksPerMillisecond;
  // A recording's quiet between bursts is played as recorded but at most this long, and its
  // end is followed by this wait, so the last burst window closes before Finished.
  std::uint32_t MaxIdleMs = 1000;
};

// The kernel IR receiver: the mode2 words of /dev/lircN, or a recording of them, as edges of
// the receive pipeline. Both read through a platform::IrDevice; Mode2Reader turns the bytes
// into words, Mode2Decoder the words into marks, spaces and idles.
//
// From a live device, each read's edges are taken at once. The kernel measured the durations;
// the edges carry counter readings built from them: a burst's first edge from the reading
// taken when its read woke the reading thread (less the durations of the words after it in
// that read), every later edge from the one before plus its duration. So the pipeline measures
// the kernel's durations exactly, whatever the delay of the reads.
//
// A recording (binary words as the device delivers them, or the text form) is read as fast
// as the file allows, and its bursts are played at their recorded pace by an EdgePlayer: the
// first at once, each later one after the recorded quiet (at most MaxIdleMs).
class LircReceiver : public Receiver {
 public:
  LircReceiver(ReceivePipeline& pipeline, platform::EventLoop& loop, const platform::Clock& clock,
               platform::IrDevice& device, std::string path, ReceiverEvents events,
               LircOptions options = {});
  ~LircReceiver() override;
  LircReceiver(const LircReceiver&) = delete;
  LircReceiver& operator=(const LircReceiver&) = delete;

  Result<Done> Start() override;
  void Stop() override;

  // What the opened input is; Recording before Start().
  platform::IrInputKind InputKind() const { return Kind; }

 private:
  void DataRead(std::int64_t counter, const std::string& bytes);
  void Ended(const Result<Done>& end);
  void TakeLive(const std::vector<std::uint32_t>& words, std::int64_t counter);
  void TakeLiveSegment(const Mode2Segment& segment);
  Result<Done> TakeRecorded(const std::vector<Mode2Segment>& segments);
  Result<Done> QueueBurst();
  void ReportProblems();
  void Drained();
  void Fail(const std::string& message);

  ReceivePipeline& Pipeline;
  platform::IrDevice& Device;
  std::string Path;
  ReceiverEvents Events;
  LircOptions Options;
  EdgePlayer Player;
  platform::IrInputKind Kind = platform::IrInputKind::Recording;
  Mode2Reader Reader{Mode2Format::Unknown};
  Mode2Decoder Decoder;
  bool Started = false;
  bool EndQueued = false;  // the wait after a recording's last burst
  // Live: whether a burst is open, and the counter reading of its last edge.
  bool InBurst = false;
  std::int64_t LastEdge = 0;
  // Recording: the burst being read and the quiet before it.
  std::vector<std::int64_t> Burst;
  std::int64_t IdleBefore = 0;
};

}  // namespace quillon
