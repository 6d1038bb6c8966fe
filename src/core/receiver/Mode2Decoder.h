#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// What a run of mode2 words amounts to, in counter ticks (10 per microsecond).
enum class Mode2SegmentKind : std::uint8_t {
  Mark,   // a pulse
  Space,  // a space between two pulses of one burst
  Idle,   // the quiet between bursts: the next mark begins a burst afresh
};

struct Mode2Segment {
  Mode2SegmentKind Kind = Mode2SegmentKind::Idle;
  std::int64_t Ticks = 0;
  std::int64_t Start = 0;  // the stamp its first word was taken with
};

// Turns mode2 words into marks, spaces and idles. Consecutive words of one kind are one
// segment, so a mark is complete only when a word of another kind follows (or EndPulse() is
// called). A space of at least `idleTicks`, a timeout word and an overflow word end the burst;
// frequency words are ignored. Words that cannot be taken are skipped and reported once per
// cause in Problems:
//   - a pulse or space of length 0 (no time passes; the words around it merge);
//   - a kind the kernel does not define.
// An overflow word (the kernel dropped words) ends the burst, so the next mark starts afresh.
class Mode2Decoder {
 public:
  explicit Mode2Decoder(std::int64_t idleTicks) : IdleTicks(idleTicks) {}

  // Takes one word, stamped with the counter reading at which it began (0 when the time comes
  // from the durations alone); appends the segments it completes to `out`.
  void Take(std::uint32_t word, std::int64_t stamp, std::vector<Mode2Segment>& out);

  // Completes a pulse that is still open: at the end of a recording, and at the end of each
  // read of a live device, whose pulse word comes when the pulse ends. A pulse word that then
  // continues that pulse in the next read comes too late to lengthen the mark already handed
  // on: its time counts towards the following space, so later edges keep their place in time.
  void EndPulse(std::vector<Mode2Segment>& out);

  // The problems met since the last call, each cause reported once per decoder.
  std::vector<std::string> TakeProblems();

 private:
  enum class Open : std::uint8_t { Nothing, Pulse, Space, Idle };

  void Close(std::vector<Mode2Segment>& out);
  void Report(bool& reported, const std::string& text);

  std::int64_t IdleTicks;
  Open Pending = Open::Nothing;
  std::int64_t PendingTicks = 0;
  std::int64_t PendingStart = 0;
  bool InBurst = false;     // a mark has come since the last idle
  bool PulseEnded = false;  // EndPulse() closed the last pulse; no space has followed yet
  std::int64_t WordNumber = 0;
  bool ZeroReported = false;
  bool UnknownReported = false;
  bool OverflowReported = false;
  std::vector<std::string> Problems;
};

}  // namespace quillon
