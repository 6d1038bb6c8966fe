#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/common/Language.h"
#include "core/learning/RemoteData.h"
#include "core/receiver/PtkHandOver.h"

namespace quillon {

// One repeat frame as a microcontroller receiver sends it: the values of a short line.
struct ReceiverFrameRecord {
  std::uint8_t Count = 0;
  std::array<std::int32_t, 9> Values{};
};

// What one line of the hold-button test gives the learning window: its log lines; once the
// test is over, the key timer interval it measured.
struct PtkHoldStep {
  std::vector<std::string> Log;
  bool Finished = false;
  std::int32_t KeyTimerInterval = 0;  // ms, valid when Finished
};

// The hold-button test with a microcontroller receiver. While the user holds button 1 (or
// presses it five times), the receiver sends a frame line and then, for a remote with a
// special repeat code, short lines of the repeat frame. After ten lines the repeat-frame block
// of the remote is decided from the first six short lines (the frame records), and the
// "Time between two keys" from the spacing of the lines.
class PtkHoldAnalysis {
 public:
  static constexpr std::int32_t Lines = 10;
  static constexpr std::size_t MaxRecords = 6;

  PtkHoldStep TakeLine(const KeyLine& line, RemoteData& remote, LanguageFlag language);

  const std::vector<ReceiverFrameRecord>& Records() const { return FrameRecords; }

 private:
  std::int32_t PressCounter = 1;
  std::vector<ReceiverFrameRecord> FrameRecords;
  std::vector<std::int64_t> Arrivals;  // counter readings of the lines
};

// The repeat frame: the first record that every later record repeats, value by value within
// 5 units (at least two records). Valid 1 with RepeatTop = the record's count (the receiver
// counts values: RepeatFrame[0..RepeatTop-1] hold them); Valid 0 and nothing else without.
RepeatFrameBlock ChooseRepeatFrame(const std::vector<ReceiverFrameRecord>& records);

// The period of the lines in ms: the median of the positive intervals between successive
// arrivals (lines of one arrival share its reading); 0 without any.
std::int32_t LinePeriodMs(const std::vector<std::int64_t>& arrivals);

// v = 40 % of the measured period, rounded, at most 300; the key timer interval is v, or with
// a special repeat code v less 20 % so that every repeat frame passes; at least 1 ms.
std::int32_t TimeBetweenKeys(std::int32_t periodMs);
std::int32_t KeyTimerIntervalFor(std::int32_t timeBetweenKeys, bool specialRepeatCode);

}  // namespace quillon
