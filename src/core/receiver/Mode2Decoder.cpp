#include "core/receiver/Mode2Decoder.h"

#include <cstdio>

#include "core/receiver/Mode2Word.h"

namespace quillon {

namespace {

constexpr std::int64_t TicksPerMicrosecond = 10;

std::string KindText(std::uint32_t kind) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(kind >> 24));
  return text;
}

}  // namespace

void Mode2Decoder::Take(std::uint32_t word, std::int64_t stamp, std::vector<Mode2Segment>& out) {
  ++WordNumber;
  const std::uint32_t kind = Mode2Kind(word);
  const std::int64_t ticks = std::int64_t{Mode2Value(word)} * TicksPerMicrosecond;
  const auto where = [this] { return "word " + std::to_string(WordNumber) + ": "; };

  if (kind == Mode2Frequency) return;
  if ((kind == Mode2Pulse || kind == Mode2Space) && ticks == 0) {
    Report(ZeroReported, where() + (kind == Mode2Pulse ? "a pulse" : "a space") +
                             " of length 0; words of length 0 are skipped");
    return;
  }
  const auto open = [&](Open what, std::int64_t length) {
    Pending = what;
    PendingTicks = length;
    PendingStart = stamp;
  };

  switch (kind) {
    case Mode2Pulse:
      if (PulseEnded) {  // a pulse split across two reads: its time joins the next space
        if (Pending == Open::Nothing) {
          open(Open::Space, ticks);
        } else {
          PendingTicks += ticks;
        }
        return;
      }
      if (Pending == Open::Pulse) {
        PendingTicks += ticks;
        return;
      }
      Close(out);
      open(Open::Pulse, ticks);
      return;
    case Mode2Space:
      PulseEnded = false;
      if (Pending == Open::Space || Pending == Open::Idle) {
        PendingTicks += ticks;
        return;
      }
      Close(out);
      open(Open::Space, ticks);
      return;
    case Mode2Overflow:
      Report(
          OverflowReported,
          where() + "the kernel's buffer overflowed and words were lost; the burst starts afresh");
      [[fallthrough]];
    case Mode2Timeout: {
      PulseEnded = false;
      const std::int64_t idle = kind == Mode2Timeout ? ticks : 0;
      if (Pending == Open::Space || Pending == Open::Idle) {
        Pending = Open::Idle;
        PendingTicks += idle;
        return;
      }
      Close(out);
      open(Open::Idle, idle);
      return;
    }
    default:
      Report(UnknownReported,
             where() + "unknown kind " + KindText(kind) + "; words of unknown kinds are skipped");
      return;
  }
}

void Mode2Decoder::EndPulse(std::vector<Mode2Segment>& out) {
  if (Pending != Open::Pulse) return;
  Close(out);
  PulseEnded = true;
}

void Mode2Decoder::Close(std::vector<Mode2Segment>& out) {
  Mode2SegmentKind kind = Mode2SegmentKind::Idle;
  switch (Pending) {
    case Open::Nothing:
      return;
    case Open::Pulse:
      kind = Mode2SegmentKind::Mark;
      InBurst = true;
      break;
    case Open::Space:
      if (InBurst && PendingTicks < IdleTicks) {
        kind = Mode2SegmentKind::Space;
      } else {
        InBurst = false;
      }
      break;
    case Open::Idle:
      InBurst = false;
      break;
  }
  out.push_back({kind, PendingTicks, PendingStart});
  Pending = Open::Nothing;
}

void Mode2Decoder::Report(bool& reported, const std::string& text) {
  if (reported) return;
  reported = true;
  Problems.push_back(text);
}

std::vector<std::string> Mode2Decoder::TakeProblems() {
  std::vector<std::string> taken;
  taken.swap(Problems);
  return taken;
}

}  // namespace quillon
