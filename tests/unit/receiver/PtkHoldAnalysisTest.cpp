#include "core/receiver/PtkHoldAnalysis.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace quillon {
namespace {

using platform::CounterTicksPerMillisecond;

std::string Chars(std::initializer_list<int> values) {
  std::string text;
  for (const int v : values) text += static_cast<char>(v);
  return text;
}

ReceiverFrameRecord Record(std::initializer_list<int> values) {
  ReceiverFrameRecord record;
  for (const int v : values) record.Values[record.Count++] = v;
  return record;
}

KeyLine Line(const std::string& text, std::int64_t atMs, const std::string& code = "") {
  KeyLine line;
  line.Text = text;
  line.Decoded.Code = code;
  line.Counter = atMs * CounterTicksPerMillisecond;
  return line;
}

struct HoldFixture : ::testing::Test {
  // Feeds the lines; the steps of all but the last must not finish the test.
  PtkHoldStep Feed(const std::vector<KeyLine>& lines, LanguageFlag language = English) {
    PtkHoldStep step;
    for (const KeyLine& line : lines) {
      EXPECT_FALSE(step.Finished);
      step = Analysis.TakeLine(line, *Remote, language);
    }
    return step;
  }

  PtkHoldAnalysis Analysis;
  std::unique_ptr<RemoteData> Remote = NewRemoteData();
};

TEST_F(HoldFixture, ARemoteWithARepeatCodeGetsItsFrameAndAMaximumKeyTime) {
  const std::string frame = ":" + Chars({127, 82, 43, 54, 43, 54});
  std::vector<KeyLine> lines{Line(frame, 0, "101")};
  for (int i = 1; i < 10; ++i) {
    lines.push_back(Line(Chars({151 - i % 2, 64 + i % 3, 45}), 40 + 108 * i));
  }
  const PtkHoldStep last = Feed(lines);
  ASSERT_TRUE(last.Finished);
  EXPECT_EQ(Remote->Repeat.Valid, 1);
  EXPECT_EQ(Remote->Repeat.Index, 0);
  EXPECT_EQ(Remote->Repeat.RepeatTop, 3);
  const auto& repeat = Remote->Repeat.RepeatFrame;
  EXPECT_EQ(std::vector(repeat.begin(), repeat.begin() + 4),
            (std::vector<std::int64_t>{150, 65, 45, 0}));
  EXPECT_EQ(Analysis.Records().size(), 0U);  // the test starts over
  // The period is 108 ms: v = 43 and the interval 43 less 20 %.
  EXPECT_EQ(last.KeyTimerInterval, 35);
  EXPECT_EQ(last.Log,
            (std::vector<std::string>{
                "№10 at 10 -> 150 64 45 ...Ok", "", "This is a remote with special repeat code.",
                "Measure \"Time between two keys\"...", "", "Max \"Time between two keys\" = 43ms",
                "\"Time between two keys\" = 35ms"}));
}

TEST_F(HoldFixture, ARemoteThatRepeatsItsFrameGetsARecommendedKeyTime) {
  std::vector<KeyLine> lines;
  for (int i = 0; i < 10; ++i)
    lines.push_back(Line(":" + Chars({55, 73, 55, 55, 73}), 114 * i, "010"));
  const PtkHoldStep first = Analysis.TakeLine(lines.front(), *Remote, English);
  EXPECT_EQ(first.Log, (std::vector<std::string>{"№1 at 10 -> 010 ...Ok"}));
  lines.erase(lines.begin());
  const PtkHoldStep last = Feed(lines, Bulgarian);
  ASSERT_TRUE(last.Finished);
  EXPECT_EQ(Remote->Repeat.Valid, 0);
  EXPECT_EQ(Remote->Repeat.RepeatTop, 0);
  EXPECT_EQ(last.KeyTimerInterval, 46);
  EXPECT_EQ(last.Log,
            (std::vector<std::string>{"№10 от 10 -> 010 ...Ok", "",
                                      "Това дистанционно няма специален код за повторение.",
                                      "Изчисляване на \"Време между два клавиша\"...", "",
                                      "Препоръчително \"Време между два клавиша\" = 46мс",
                                      "\"Време между два клавиша\" = 46мс"}));
}

TEST(PtkHoldRecords, TheFirstRecordThatEveryLaterOneRepeatsIsTheRepeatFrame) {
  const struct {
    const char* What;
    std::vector<ReceiverFrameRecord> Records;
    std::uint8_t Valid;
    std::int32_t Index;
  } cases[] = {
      {"all agree", {Record({150, 64}), Record({155, 59}), Record({146, 60})}, 1, 0},
      {"a stray first record", {Record({90, 64}), Record({150, 64}), Record({152, 66})}, 1, 1},
      {"6 units off", {Record({150, 64}), Record({156, 64})}, 0, 0},
      {"other counts", {Record({150, 64}), Record({150, 64, 45})}, 0, 0},
      {"one record", {Record({150, 64})}, 0, 0},
      {"none", {}, 0, 0},
  };
  for (const auto& c : cases) {
    const RepeatFrameBlock block = ChooseRepeatFrame(c.Records);
    EXPECT_EQ(block.Valid, c.Valid) << c.What;
    EXPECT_EQ(block.Index, c.Index) << c.What;
    const auto& chosen = c.Records.empty() ? ReceiverFrameRecord{} : c.Records[c.Index];
    EXPECT_EQ(block.RepeatTop, c.Valid == 1 ? chosen.Count : 0) << c.What;
    EXPECT_EQ(block.RepeatFrame[0], c.Valid == 1 ? chosen.Values[0] : 0) << c.What;
  }
}

TEST_F(HoldFixture, OnlySixShortLinesBecomeRecordsAndLongOnesAreCut) {
  for (int i = 0; i < 8; ++i) Analysis.TakeLine(Line(Chars({150, 64}), 100 * i), *Remote, English);
  EXPECT_EQ(Analysis.Records().size(), PtkHoldAnalysis::MaxRecords);
}

TEST(PtkHoldTiming, TheKeyTimeIsFortyPercentOfTheLinePeriod) {
  const struct {
    std::vector<std::int64_t> ArrivalsMs;
    std::int32_t Period;
    std::int32_t V;
  } cases[] = {
      {{0, 108, 216, 324}, 108, 43},
      {{0, 108, 108, 216, 500}, 108, 43},  // lines of one arrival share its reading
      {{0, 90, 200, 310}, 110, 44},        // the median interval
      {{0, 1000, 2000}, 1000, 300},        // at most 300
      {{0, 0, 0}, 0, 0},
      {{}, 0, 0},
  };
  for (const auto& c : cases) {
    std::vector<std::int64_t> arrivals;
    for (const std::int64_t ms : c.ArrivalsMs) arrivals.push_back(ms * CounterTicksPerMillisecond);
    EXPECT_EQ(LinePeriodMs(arrivals), c.Period);
    EXPECT_EQ(TimeBetweenKeys(c.Period), c.V);
  }
  EXPECT_EQ(KeyTimerIntervalFor(43, false), 43);
  EXPECT_EQ(KeyTimerIntervalFor(43, true), 35);
  EXPECT_EQ(KeyTimerIntervalFor(0, false), 1);
  EXPECT_EQ(KeyTimerIntervalFor(1, true), 1);
}

}  // namespace
}  // namespace quillon
