#pragma once

#include <array>
#include <cstdint>

namespace quillon {

// The five samples of the signal-length test.
inline constexpr std::size_t SignalSamples = 5;

// The nominal length of a key code: the most frequent of the five lengths, the first of them
// when several are equally frequent.
std::int32_t MostFrequentLength(const std::array<std::int32_t, SignalSamples>& lengths);

// The reference duration (start pulse or gap) among five samples s1..s5, -1 when none. The
// candidates s1, s2, s3 are tried in turn; a candidate counts the samples x of s2..s5 with
// x * 70 / 100 < candidate < x * 130 / 100. The search stops at a candidate that all four
// match, or after the third; it succeeds when the last candidate tried has at least three
// matches, and gives that candidate. (Giving the sample after it, as a literal reading of the
// rule would, takes a sample that was never tested: A, A, A, B, A would give B.)
std::int64_t FindReferenceDuration(const std::array<std::int64_t, SignalSamples>& samples);

}  // namespace quillon
