#include "core/receiver/KeyMatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "receiver/TrainBuilder.h"

namespace quillon {
namespace {

struct KeyMatcherFixture : ::testing::Test {
  KeyMatcherFixture() {
    // Keys 1..10, key n with codes "n00" to "n04", named "KEY n".
    Remote->KeyCount = 11;
    for (std::int32_t k = 1; k <= 10; ++k) {
      LearnedKey& key = Remote->Keys[static_cast<std::size_t>(k)];
      key.KeyNumber = k;
      key.Name.Assign("KEY " + std::to_string(k));
      for (std::int32_t slot = 0; slot < 5; ++slot) {
        key.Data[static_cast<std::size_t>(slot)].Assign(std::to_string(k * 100 + slot));
      }
    }
  }

  // Keys that collided on `code` when learned: both hold it, and the lock-up rows `row` and
  // `row + 1` are copies of their rows with the row numbers as key numbers, as learning writes
  // them.
  void LockUpPair(std::int32_t row, std::int32_t earlierKey, std::int32_t laterKey,
                  const std::string& code) {
    for (const auto& [entry, key] : {std::pair{row, earlierKey}, {row + 1, laterKey}}) {
      Remote->Keys[static_cast<std::size_t>(key)].Data[4].Assign(code);
      LearnedKey& lock = Remote->LockUps[static_cast<std::size_t>(entry)];
      lock = Remote->Keys[static_cast<std::size_t>(key)];
      lock.KeyNumber = entry;
    }
    Remote->LockUpCount = std::max(Remote->LockUpCount, row + 2);
  }

  std::unique_ptr<RemoteData> Remote = NewRemoteData();
  KeyMatcher Matcher{*Remote};
};

TEST_F(KeyMatcherFixture, LooksUpLockUpsThenKeysThenTheRepeatedKey) {
  Remote->Keys[9].Data[3].Assign("301");  // key 3 and key 9 share a code
  LockUpPair(1, 2, 7, "777");             // rows 1-2: keys 2 and 7 collided on "777"
  LockUpPair(3, 4, 8, "888");             // rows 3-4: keys 4 and 8 on "888"

  const struct {
    const char* Name;
    std::string Code;
    bool Repeat;
    std::int32_t LastKeyBefore;
    KeyMatch Expected;
    std::int32_t LastKeyAfter;
  } cases[] = {
      {"third code of key 7", "702", false, -1, {true, 7, false}, 7},
      {"last matching key wins", "301", false, -1, {true, 9, false}, 9},
      // A code of the earlier key of a pair matches its odd row: the later key answers, by
      // name, and LastKey stays.
      {"earlier key of a pair gives the later", "200", false, 5, {true, 7, false}, 5},
      {"second pair", "403", false, -1, {true, 8, false}, -1},
      // The shared code matches both rows; the even one wins and the key table decides.
      {"shared code", "777", false, 5, {true, 7, false}, 7},
      {"code of the later key only", "801", false, 5, {true, 8, false}, 8},
      {"unknown code", "999", false, 5, {false, 0, false}, 5},
      {"repeat frame repeats the last key", "", true, 4, {true, 4, false}, 4},
      {"repeat frame with no key", "", true, -1, {false, 0, true}, -1},
      {"empty code finds nothing", "", false, 4, {false, 0, false}, 4},
  };
  for (const auto& c : cases) {
    Matcher.LastKey = c.LastKeyBefore;
    const KeyMatch match = Matcher.Lookup(c.Code, c.Repeat);
    EXPECT_EQ(match.Found, c.Expected.Found) << c.Name;
    EXPECT_EQ(match.KeyNumber, c.Expected.KeyNumber) << c.Name;
    EXPECT_EQ(match.CloseHint, c.Expected.CloseHint) << c.Name;
    EXPECT_EQ(Matcher.LastKey, c.LastKeyAfter) << c.Name;
  }
}

TEST_F(KeyMatcherFixture, LockUpNamingNoKeyFallsThroughToTheKeys) {
  LockUpPair(1, 2, 7, "777");
  Remote->LockUps[2].Name.Assign("GONE");
  EXPECT_EQ(Matcher.Lookup("200", false).KeyNumber, 2);
}

TEST_F(KeyMatcherFixture, CodesCompareAsStoredCutTo255Symbols) {
  const std::string longCode(300, '1');
  Remote->Keys[5].Data[0].Assign(longCode);
  EXPECT_EQ(Matcher.Lookup(longCode, false).KeyNumber, 5);
  EXPECT_EQ(Matcher.Lookup(std::string(255, '1') + "0", false).KeyNumber, 5);
  EXPECT_FALSE(Matcher.Lookup(std::string(254, '1'), false).Found);
}

TEST_F(KeyMatcherFixture, RepeatFrameVerdict) {
  // The repeat frame: 9 ms mark, 2.25 ms space, 0.56 ms mark.
  Remote->Repeat.RepeatTop = 2;
  Remote->Repeat.RepeatFrame[0] = 90000;
  Remote->Repeat.RepeatFrame[1] = 22500;
  Remote->Repeat.RepeatFrame[2] = 5600;
  const auto train = [](std::vector<std::int64_t> durations) {
    test::TrainBuilder builder;
    builder.Add(durations);
    return builder;
  };
  const struct {
    const char* Name;
    std::int32_t RepeatTop;
    test::TrainBuilder Train;
    bool Expected;
  } cases[] = {
      {"exact frame", 2, train({90000, 22500, 5600}), true},
      {"within 70..130 % of each captured duration", 2, train({69300, 17400, 4400}), true},
      {"reference just beyond 130 %", 2, train({69000, 22500, 5600}), false},
      {"frame after a stale first duration", 2, train({1500000, 90000, 22500, 5600}), true},
      {"two durations suffice", 2, train({90000, 22500}), true},
      {"one duration is never enough", 2, train({90000}), false},
      {"a full code is no repeat frame", 2, train(std::vector<std::int64_t>(12, 5600)), false},
      {"RepeatTop 0 disables", 0, train({90000, 22500, 5600}), false},
      {"RepeatTop 20 disables", 20, train({90000, 22500, 5600}), false},
  };
  for (const auto& c : cases) {
    Remote->Repeat.RepeatTop = c.RepeatTop;
    const PulseBufferArray buffer = c.Train.Buffer();
    EXPECT_EQ(Matcher.RepeatFrameVerdict(PulseTrain(buffer, c.Train.Count())), c.Expected)
        << c.Name;
  }
}

TEST_F(KeyMatcherFixture, LongBurstForgetsTheLastKey) {
  Remote->Repeat.RepeatTop = 2;
  Remote->Repeat.RepeatFrame = {90000, 22500, 5600};
  for (const auto& [count, lastKey] : {std::pair{12, 4}, {19, 4}, {20, -1}, {25, -1}}) {
    Matcher.LastKey = 4;
    test::TrainBuilder repeat;
    repeat.Add(std::vector<std::int64_t>(static_cast<std::size_t>(count - 3), 5600));
    repeat.Add({90000, 22500, 5600});
    const PulseBufferArray buffer = repeat.Buffer();
    const bool verdict = Matcher.RepeatFrameVerdict(PulseTrain(buffer, repeat.Count()));
    const KeyMatch match = Matcher.Lookup("", verdict);
    EXPECT_EQ(Matcher.LastKey, lastKey) << count;
    EXPECT_EQ(match.Found, lastKey != -1) << count;
  }
}

}  // namespace
}  // namespace quillon
