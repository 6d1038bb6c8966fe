#include "core/receiver/MultiLevelCode.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "receiver/TrainBuilder.h"

namespace quillon {
namespace {

struct Case {
  const char* Name;
  std::vector<std::int64_t> Data;
  std::int32_t ClassCount;
  std::optional<std::int32_t> HighestDigit;
  std::string Expected;
  std::int32_t ExpectedLevelTop;
};

std::string Code(const std::vector<std::int64_t>& data, std::int32_t classCount,
                 std::optional<std::int32_t> highestDigit, LearnedTimings& timings) {
  test::TrainBuilder train;
  train.Add(data);
  const PulseBufferArray buffer = train.Buffer();
  return MultiLevelCode(PulseTrain(buffer, train.Count()), 0, train.Count() - 1, classCount,
                        highestDigit, /*startError=*/20, timings);
}

TEST(MultiLevelCode, OneDigitPerDurationFromTheFramesOwnClasses) {
  const std::vector<std::int64_t> steps = {100000, 70000, 49000, 34300, 24010, 16807,
                                           11764,  8235,  5764,  4035,  2824};
  const Case cases[] = {
      // A long duration among the data (C0 - C1 > 2 (C1 - C2)): class 1 must not swallow
      // class 2, so every duration yields exactly one digit.
      {"wide first step", {30000, 10000, 5000, 10000, 5000}, 3, 2, "21010", 2},
      // All classes found: LevelTop is the class count less one, whatever the last decode left.
      {"all classes found", {40000, 20000, 10000, 5000}, 3, 2, "2100", 2},
      // A duration on the border of two windows lies in neither and between the fallback
      // limits: it adds no digit.
      {"between windows", {40000, 20000, 15500, 17750}, 3, 2, "210", 2},
      // Past the longest window but in none: the highest digit, given or LevelTop.
      {"fallback highest given", {40000, 30000, 35000}, 2, 4, "104", 1},
      {"fallback highest is LevelTop", {40000, 30000, 35000}, 2, std::nullopt, "101", 1},
      // A lone class spans everything from 0 to twice its value.
      {"lone class", {2000, 1000, 1999, 1}, 1, 0, "0000", 0},
      // Ten classes asked for (a learned digit 9): limited to the table, nine in use.
      {"class count beyond the table", steps, 10, 9, "876543210", 8},
  };
  for (const Case& c : cases) {
    LearnedTimings timings;
    timings.LevelTop = 7;  // stale value of an earlier decode
    EXPECT_EQ(Code(c.Data, c.ClassCount, c.HighestDigit, timings), c.Expected) << c.Name;
    EXPECT_EQ(timings.LevelTop, c.ExpectedLevelTop) << c.Name;
  }
}

TEST(MultiLevelCode, ClassesAreTheLargestDurationsStepByStep) {
  LearnedTimings timings;
  Code({40000, 31000, 20000, 10000, 5000}, 3, 2, timings);
  // 31000 is within 20 % of 40000, so the next class is the largest below 32000.
  EXPECT_EQ(timings.LevelTable[0], 40000);
  EXPECT_EQ(timings.LevelTable[1], 31000);
  EXPECT_EQ(timings.LevelTable[2], 20000);
}

TEST(MultiLevelCode, FrameWithoutDataYieldsThePrefixAndAClearedTable) {
  LearnedTimings timings;
  timings.PrefixText = "123";
  timings.PrefixLength = 2;
  timings.LevelTable.fill(77);
  timings.LevelTop = 5;
  const PulseBufferArray buffer{};
  EXPECT_EQ(MultiLevelCode(PulseTrain(buffer, 0), 0, -1, 3, 2, 20, timings), "12");
  EXPECT_EQ(timings.LevelTop, 0);
  for (const std::int64_t level : timings.LevelTable) EXPECT_EQ(level, 0);
}

TEST(MultiLevelCode, PrefixCoversTheFirstDurations) {
  LearnedTimings timings;
  timings.PrefixText = "2101";
  timings.PrefixLength = 2;
  // The classes still come from every data duration, the prefix ones included.
  EXPECT_EQ(Code({40000, 20000, 10000, 20000}, 3, 2, timings),
            "21"
            "01");
}

TEST(MultiLevelCode, WindowsNearThe64BitLimitSaturateInsteadOfWrapping) {
  constexpr std::int64_t Largest = std::numeric_limits<std::int64_t>::max();
  LearnedTimings timings;
  // A lone class spans 0..twice its value; beyond the limit it ends at the limit.
  EXPECT_EQ(Code({Largest / 4 * 3, Largest / 4 * 3}, 3, 2, timings), "00");
  // The longest class reaches past the limit: the shorter classes keep their own windows.
  EXPECT_EQ(Code({Largest, 20000, 10000, 20000}, 3, 2, timings), "2101");
}

}  // namespace
}  // namespace quillon
