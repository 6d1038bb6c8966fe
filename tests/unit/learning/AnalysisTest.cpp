#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/learning/CodeShape.h"
#include "core/learning/RepeatCodeAnalysis.h"
#include "core/learning/RepeatFrameAnalysis.h"
#include "receiver/TrainBuilder.h"

namespace quillon {
namespace {

std::unique_ptr<RemoteData> RemoteWithCodes(const std::vector<std::vector<std::string>>& keys,
                                            std::int32_t nominalLength) {
  auto remote = NewRemoteData();
  remote->KeyCount = static_cast<std::int32_t>(keys.size()) + 1;
  remote->NominalLength = nominalLength;
  for (std::size_t k = 0; k < keys.size(); ++k) {
    for (std::size_t slot = 0; slot < keys[k].size(); ++slot) {
      remote->Keys[k + 1].Data[slot].Assign(keys[k][slot]);
    }
  }
  return remote;
}

TEST(CodeShapeAnalysis, LevelsAndFrameLimitsFromTheLearnedCodes) {
  const auto Ones = [](std::size_t length) { return std::string(length, '1'); };
  const struct {
    const char* Name;
    std::vector<std::vector<std::string>> Keys;
    std::uint8_t LevelCountBefore;
    bool MultiLevel;
    std::uint8_t LevelCount;
    std::int32_t Spread, Min, Max;
  } cases[] = {
      {"binary codes", {{"0101010101"}, {"1101010101"}}, 3, false, 2, 0, 10, 10},
      {"a 3 raises the level count", {{"0123012301"}, {"0101010101"}}, 2, true, 4, 0, 10, 10},
      {"never lowered", {{"0120120120"}}, 6, true, 6, 0, 10, 10},
      {"lengths 32..34", {{Ones(32)}, {std::string(34, '0'), Ones(33)}}, 3, false, 2, 2, 32, 34},
      // The spread is capped at 3, but all three conditions for the codes' own limits hold.
      {"lengths 20..40", {{Ones(20)}, {Ones(40)}}, 3, false, 2, 3, 20, 40},
      {"codes shorter than 6", {{"0101"}, {"01011"}}, 3, false, 2, 1, 29, 31},
      {"no codes at all", {}, 3, false, 2, 3, 27, 33},
  };
  for (const auto& c : cases) {
    const auto remote = RemoteWithCodes(c.Keys, 30);
    DecodingLimits limits;
    limits.LevelCount = c.LevelCountBefore;
    std::int32_t spread = -1;
    const CodeShape shape = CodeShapeAnalysis(*remote, limits, spread);
    EXPECT_EQ(shape.MultiLevelCoding, c.MultiLevel) << c.Name;
    EXPECT_EQ(limits.LevelCount, c.LevelCount) << c.Name;
    EXPECT_EQ(spread, c.Spread) << c.Name;
    EXPECT_EQ(limits.MinFrameLength, c.Min) << c.Name;
    EXPECT_EQ(limits.MaxFrameLength, c.Max) << c.Name;
    EXPECT_TRUE(shape.Problem.empty()) << c.Name;
  }
}

TEST(CodeShapeAnalysis, TheTrailingRowIsNotRead) {
  auto remote = RemoteWithCodes({{"0101010101"}}, 10);
  remote->Keys[2].Data[0].Assign("9999999999");  // the row at KeyCount
  DecodingLimits limits;
  std::int32_t spread = 0;
  EXPECT_FALSE(CodeShapeAnalysis(*remote, limits, spread).MultiLevelCoding);
}

TEST(CodeShapeAnalysis, ANominalLengthAtTheLimitsOfItsFieldStaysThere) {
  constexpr std::int32_t Lowest = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t Highest = std::numeric_limits<std::int32_t>::max();
  for (const std::int32_t nominal : {Lowest, Highest}) {
    const auto remote = RemoteWithCodes({}, nominal);  // a corrupt file without codes
    DecodingLimits limits;
    std::int32_t spread = 0;
    CodeShapeAnalysis(*remote, limits, spread);
    EXPECT_EQ(limits.MinFrameLength, nominal == Lowest ? Lowest : Highest - 3);
    EXPECT_EQ(limits.MaxFrameLength, nominal == Lowest ? Lowest + 3 : Highest);
  }
}

// Ten trains for the hold-button analysis; each list of durations is one burst.
TrainTable Trains(const std::vector<std::vector<std::int64_t>>& bursts) {
  TrainTable table;
  for (const auto& burst : bursts) {
    test::TrainBuilder train;
    train.Add(burst);
    const PulseBufferArray buffer = train.Buffer();
    table.Record(PulseTrain(buffer, train.Count()));
  }
  return table;
}

const std::vector<std::int64_t> RepeatFrame = {90000, 22500, 5600};
const std::vector<std::int64_t> Gap = {960000};

std::vector<std::int64_t> Joined(std::initializer_list<std::vector<std::int64_t>> parts) {
  std::vector<std::int64_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(RepeatFrameAnalysis, FindsTheRepeatCodeOfAHeldButton) {
  // A repeat frame followed by its gap, sent again and again: each train repeats itself.
  const auto held = Joined({RepeatFrame, Gap, RepeatFrame, Gap, RepeatFrame});
  const RepeatFrameBlock result = RepeatFrameAnalysis(Trains({10, held}), 30);
  EXPECT_EQ(result.Valid, 1);
  EXPECT_EQ(result.RepeatTop, 3);  // 9 ms, 2.25 ms, 0.56 ms and the gap: index 3 is the last
  EXPECT_EQ(result.RepeatFrame[0], 90000);
  EXPECT_EQ(result.RepeatFrame[3], 960000);
  EXPECT_EQ(result.RepeatFrame[4], 0);
}

// Seven durations doubling from `first`: no duration is within 30 % of another, so the train
// neither repeats itself nor agrees with a train of another `first`.
std::vector<std::int64_t> Distinct(std::int64_t first) {
  std::vector<std::int64_t> out;
  for (std::int64_t d = first; out.size() < 7; d *= 2) out.push_back(d);
  return out;
}

TEST(RepeatFrameAnalysis, Branches) {
  const auto held = Joined({RepeatFrame, Gap, RepeatFrame, Gap, RepeatFrame});
  const auto otherHeld = Joined({{50000, 50000, 5600}, Gap, {50000, 50000, 5600}, Gap});
  std::vector<std::vector<std::int64_t>> distinct;
  for (std::int64_t t = 0; t < 10; ++t) distinct.push_back(Distinct(1000 << (3 * t)));
  const auto with = [&](std::initializer_list<std::pair<int, std::vector<std::int64_t>>> trains) {
    auto bursts = distinct;
    for (const auto& [t, burst] : trains) bursts[static_cast<std::size_t>(t)] = burst;
    return bursts;
  };

  const struct {
    const char* Name;
    std::vector<std::vector<std::int64_t>> Bursts;
    std::uint8_t Valid;
    std::int32_t RepeatTop;
    std::int64_t First;
  } cases[] = {
      // Without internal repetition no train gives a result (an empty run is no repetition).
      {"no train repeats, no two agree", distinct, 0, 0, 0},
      {"a lone repeating train stays invalid", with({{4, held}}), 0, 0, 0},
      {"two repeating trains that agree", with({{2, held}, {7, held}}), 1, 3, 90000},
      {"two repeating trains that differ", with({{2, held}, {7, otherHeld}}), 0, 0, 0},
      {"two trains that share durations", with({{3, Distinct(7)}, {5, Distinct(7)}}), 1, 6, 7},
      // The first train is never compared with another in the agreement search.
      {"agreement with the first train", with({{0, Distinct(7)}, {5, Distinct(7)}}), 0, 0, 0},
      {"20 durations or more are skipped", {10, std::vector<std::int64_t>(25, 5600)}, 0, 0, 0},
      {"empty trains", {10, std::vector<std::int64_t>{}}, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const RepeatFrameBlock result = RepeatFrameAnalysis(Trains(c.Bursts), 30);
    EXPECT_EQ(result.Valid, c.Valid) << c.Name;
    EXPECT_EQ(result.RepeatTop, c.RepeatTop) << c.Name;
    EXPECT_EQ(result.RepeatFrame[0], c.First) << c.Name;
  }
}

TEST(RepeatFrameAnalysis, TrainTableKeepsTheFirst20DurationsOfTenBursts) {
  TrainTable table = Trains({std::vector<std::int64_t>(25, 5600)});
  EXPECT_EQ(table.TrainIndex, 1);
  EXPECT_EQ(table.Trains()[0].RepeatTop, 20);
  EXPECT_EQ(table.Trains()[0].RepeatFrame[19], 5600);
  EXPECT_EQ(table.Trains()[0].RepeatFrame[20], 0);
  table = Trains({11, {1000, 2000}});
  EXPECT_EQ(table.TrainIndex, 1);  // the eleventh burst went round to entry 0
  EXPECT_EQ(table.Trains()[9].Index, 9);
}

TEST(RepeatCodeAnalysis, TenPressesThenTheVerdict) {
  const auto held = Joined({RepeatFrame, Gap, RepeatFrame, Gap, RepeatFrame});
  for (const LanguageFlag language : {English, Bulgarian}) {
    TrainTable trains;
    auto remote = NewRemoteData();
    std::uint8_t pressCounter = 1;
    HoldButtonStep step;
    for (int press = 1; press <= 10; ++press) {
      test::TrainBuilder train;
      train.Add(held);
      const PulseBufferArray buffer = train.Buffer();
      step = RepeatCodeAnalysis(trains, PulseTrain(buffer, train.Count()), "0110", pressCounter,
                                *remote, 30, language);
      EXPECT_EQ(step.Finished, press == 10);
    }
    EXPECT_EQ(pressCounter, 11);
    EXPECT_EQ(remote->Repeat.Valid, 1);
    EXPECT_EQ(remote->Repeat.RepeatTop, 3);
    const std::vector<std::string> english = {"№10 at 10 -> 0110 ...Ok", "",
                                              "This is a remote with special repeat code."};
    const std::vector<std::string> bulgarian = {
        "№10 от 10 -> 0110 ...Ok", "", "Това дистанционно има специален код за повторение."};
    EXPECT_EQ(step.Log, language == English ? english : bulgarian);
  }
}

}  // namespace
}  // namespace quillon
