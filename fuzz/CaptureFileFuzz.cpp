// The capture-file reader: text of any content read in both forms (records with headers, and
// plain lists of bursts), and what it accepts replayed as the tools replay it: each burst
// through the signal-length test, its frame adopted as the learned remote, and the burst
// decoded again in normal running. A refusal names its line; an accepted duration is positive
// and no longer than a capture may hold.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "core/receiver/CaptureFile.h"
#include "replay/CaptureReplay.h"

namespace {

using namespace quillon;

constexpr std::size_t MaxReplayed = 8;  // bursts replayed per input

void Check(const Result<std::vector<CaptureRecord>>& records) {
  if (!records) {
    QUILLON_FUZZ_CHECK(records.ErrorMessage().starts_with("line "));
    return;
  }
  for (const CaptureRecord& record : records.Value()) {
    QUILLON_FUZZ_CHECK(record.LineNumber >= 1);
    for (const std::int64_t duration : record.Durations) {
      QUILLON_FUZZ_CHECK(duration > 0 && duration <= MaxCaptureDuration);
    }
  }
}

void Replay(const std::vector<CaptureRecord>& records) {
  for (std::size_t r = 0; r < records.size() && r < MaxReplayed; ++r) {
    ReplayBench bench;
    bench.Pipeline.ReceiveMode = ReceiveModeKind::SignalLengthTest;
    bench.Press(records[r].Durations);
    if (bench.Bursts.empty()) continue;
    bench.AdoptFrame(bench.Bursts.front(), 2);
    bench.Pipeline.ReceiveMode = ReceiveModeKind::Execute;
    bench.Press(records[r].Durations);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto captures = ParseCaptures(text);
  Check(captures);
  const auto bursts = ParseBursts(text);
  Check(bursts);
  if (captures) Replay(captures.Value());
  if (bursts) Replay(bursts.Value());
  return 0;
}
