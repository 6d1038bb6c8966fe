#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Result.h"

namespace quillon {

// One recorded burst of a capture file: durations in counter ticks (10 MHz), alternately mark
// and space from a mark, with no time before the first edge or after the last.
struct CaptureRecord {
  std::string Remote;
  std::string Button;
  std::string SameAs;  // the button whose code this one cannot be told apart from, if any
  std::vector<std::int64_t> Durations;
  std::int32_t LineNumber = 0;  // of the header line (of the burst line in a plain list)
};

// The longest duration a capture may hold: 2^31 - 1 ticks (about 214 s), the most the
// decoders' duration classes keep. No burst comes near it, and it keeps the replay's virtual
// clock, which adds up every duration of a file, far from overflowing.
inline constexpr std::int64_t MaxCaptureDuration = 2'147'483'647;

// Reads the text capture format: comment lines start with "# "; a record is a header line of
// percent-encoded key=value tokens ("# remote=... button=..."), then one line of durations,
// each a positive count of ticks up to MaxCaptureDuration. A malformed line is reported with
// its line number.
Result<std::vector<CaptureRecord>> ParseCaptures(std::string_view text);
// Reads a plain list of bursts: every line that does not start with '#' is one burst (an
// empty line an empty burst), named by the last record header before it, if any.
Result<std::vector<CaptureRecord>> ParseBursts(std::string_view text);

Result<std::vector<CaptureRecord>> ReadCaptureFile(const std::filesystem::path& path);

}  // namespace quillon
