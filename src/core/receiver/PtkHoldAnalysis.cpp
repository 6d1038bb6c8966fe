#include "core/receiver/PtkHoldAnalysis.h"

#include <algorithm>
#include <cstdlib>

#include "core/learning/LearningTexts.h"
#include "core/receiver/PtkTexts.h"
#include "platform/Clock.h"

namespace quillon {

namespace {

constexpr std::int32_t RecordTolerance = 5;
constexpr std::int32_t MaxKeyTime = 300;

ReceiverFrameRecord RecordOf(const std::string& line) {
  ReceiverFrameRecord record;
  for (const char c : line) {
    if (record.Count == record.Values.size()) break;
    record.Values[record.Count++] = static_cast<unsigned char>(c);
  }
  return record;
}

bool Agree(const ReceiverFrameRecord& a, const ReceiverFrameRecord& b) {
  if (a.Count != b.Count) return false;
  for (std::size_t k = 0; k < a.Count; ++k) {
    if (std::abs(a.Values[k] - b.Values[k]) > RecordTolerance) return false;
  }
  return true;
}

std::string ValuesText(const ReceiverFrameRecord& record) {
  std::string text;
  for (std::size_t k = 0; k < record.Count; ++k) {
    text += (k == 0 ? "" : " ") + std::to_string(record.Values[k]);
  }
  return text;
}

}  // namespace

RepeatFrameBlock ChooseRepeatFrame(const std::vector<ReceiverFrameRecord>& records) {
  RepeatFrameBlock block;
  for (std::size_t a = 0; a + 1 < records.size(); ++a) {
    const bool repeated =
        std::all_of(records.begin() + static_cast<std::ptrdiff_t>(a) + 1, records.end(),
                    [&](const ReceiverFrameRecord& later) { return Agree(records[a], later); });
    if (!repeated) continue;
    block.Valid = 1;
    block.Index = static_cast<std::int32_t>(a);
    block.RepeatTop = records[a].Count;
    for (std::size_t k = 0; k < records[a].Values.size(); ++k) {
      block.RepeatFrame[k] = records[a].Values[k];
    }
    return block;
  }
  return block;
}

std::int32_t LinePeriodMs(const std::vector<std::int64_t>& arrivals) {
  std::vector<std::int64_t> intervals;
  for (std::size_t i = 1; i < arrivals.size(); ++i) {
    if (arrivals[i] > arrivals[i - 1]) intervals.push_back(arrivals[i] - arrivals[i - 1]);
  }
  if (intervals.empty()) return 0;
  const auto middle = intervals.begin() + static_cast<std::ptrdiff_t>(intervals.size() / 2);
  std::nth_element(intervals.begin(), middle, intervals.end());
  return static_cast<std::int32_t>(*middle / platform::CounterTicksPerMillisecond);
}

std::int32_t TimeBetweenKeys(std::int32_t periodMs) {
  return std::min((std::max(periodMs, 0) * 4 + 5) / 10, MaxKeyTime);
}

std::int32_t KeyTimerIntervalFor(std::int32_t timeBetweenKeys, bool specialRepeatCode) {
  const std::int32_t interval =
      specialRepeatCode ? timeBetweenKeys - timeBetweenKeys * 20 / 100 : timeBetweenKeys;
  return std::max(interval, 1);
}

PtkHoldStep PtkHoldAnalysis::TakeLine(const KeyLine& line, RemoteData& remote,
                                      LanguageFlag language) {
  PtkHoldStep step;
  std::string shown = line.Decoded.Code;
  if (line.Text.size() < MinFrameLine) {
    const ReceiverFrameRecord record = RecordOf(line.Text);
    if (FrameRecords.size() < MaxRecords) FrameRecords.push_back(record);
    shown = ValuesText(record);
  }
  Arrivals.push_back(line.Counter);
  step.Log.push_back("№" + std::to_string(PressCounter) +
                     std::string(Text(LearningText::PressOfTen, language)) + " -> " + shown +
                     " ...Ok");
  if (++PressCounter <= Lines) return step;

  remote.Repeat = ChooseRepeatFrame(FrameRecords);
  const bool special = remote.Repeat.Valid == 1;
  step.Log.emplace_back();
  step.Log.emplace_back(Text(
      special ? LearningText::SpecialRepeatCode : LearningText::NoSpecialRepeatCode, language));
  step.Log.emplace_back(Text(PtkText::MeasureKeyTime, language));
  const std::int32_t v = TimeBetweenKeys(LinePeriodMs(Arrivals));
  step.KeyTimerInterval = KeyTimerIntervalFor(v, special);
  const std::string ms(Text(PtkText::Milliseconds, language));
  step.Log.emplace_back();
  step.Log.push_back(
      std::string(Text(special ? PtkText::MaxKeyTime : PtkText::RecommendedKeyTime, language)) +
      std::to_string(v) + ms);
  step.Log.push_back(std::string(Text(PtkText::KeyTime, language)) +
                     std::to_string(step.KeyTimerInterval) + ms);
  step.Finished = true;
  *this = PtkHoldAnalysis();
  return step;
}

}  // namespace quillon
