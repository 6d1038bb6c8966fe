#include <gtest/gtest.h>

#include "core/learning/KeyTable.h"
#include "core/learning/ReferenceSearch.h"

namespace quillon {
namespace {

TEST(ReferenceSearch, TheCandidateThatPassedIsTheReference) {
  constexpr std::int64_t A = 9000;
  constexpr std::int64_t B = 20000;
  const struct {
    std::array<std::int64_t, 5> Samples;
    std::int64_t Found;
  } cases[] = {
      {{A, A, A, A, A}, A},
      {{A, A, A, B, A}, A},  // three passes of three matches: the third candidate, never B
      {{B, A, A, A, A}, A},  // the second candidate matches all four
      {{A, B, B, A, A}, -1},
      {{13000, 10000, 10000, 10000, 10000}, 10000},  // 130 % is outside: s1 fails, s2 passes
      {{0, 0, 0, 0, 0}, -1},                         // no frames, no samples
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindReferenceDuration(c.Samples), c.Found)
        << c.Samples[0] << " " << c.Samples[1] << " " << c.Samples[3];
  }
}

TEST(ReferenceSearch, TheNominalLengthIsTheFirstOfTheCommonest) {
  EXPECT_EQ(MostFrequentLength({34, 34, 36, 34, 36}), 34);
  EXPECT_EQ(MostFrequentLength({36, 34, 36, 34, 35}), 36);
  EXPECT_EQ(MostFrequentLength({1, 2, 3, 4, 5}), 1);
}

TEST(KeyTable, TheLastCollidingKeyFormsThePair) {
  LearnGrid keys;
  keys.Rows = {{}, {"1", "A", "1", "1", "1", "1", "1"}, {"2", "B", "2", "1", "2", "2", "2"}, {}};
  EXPECT_EQ(FindCollision(keys, CodesOfBoxes({"3", "1", "", "", ""})), 2U);
  EXPECT_EQ(FindCollision(keys, CodesOfBoxes({"3", "", "", "", ""})), std::nullopt);
  EXPECT_EQ(CodesOfBoxes({"3", "", "4", "", ""}), (KeyCodes{"3", "3", "4", "3", "3"}));
}

}  // namespace
}  // namespace quillon
