#include "core/receiver/VotingDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "receiver/TrainBuilder.h"

namespace quillon {
namespace {

using test::Bits;
using test::TrainBuilder;

// Reference timings of the synthetic remote: a 9000-tick start pulse, a 40000-tick gap and
// data durations of 500 ("0") and 1000 ("1") ticks, four of them per frame.
struct VotingFixture : ::testing::Test {
  VotingFixture() {
    Timings.StartPulse = 9000;
    Timings.FrameGap = 40000;
    Timings.MaxValue = 1000;
    Limits.MinFrameLength = 4;
    Limits.MaxFrameLength = 4;
  }

  std::string Vote(const TrainBuilder& train, std::int64_t stale = 0) {
    const PulseBufferArray buffer = train.Buffer(stale);
    DecodeContext context{Timings, Limits, Settings, MultiLevel};
    return VotingDecode(PulseTrain(buffer, train.Count()), context);
  }

  std::string Frame(const TrainBuilder& train, std::int32_t& index, std::int64_t stale = 0) {
    const PulseBufferArray buffer = train.Buffer(stale);
    DecodeContext context{Timings, Limits, Settings, MultiLevel};
    return FrameDecode(PulseTrain(buffer, train.Count()), index, context);
  }

  LearnedTimings Timings;
  DecodingLimits Limits;
  DecoderSettings Settings;
  bool MultiLevel = false;
};

// A frame with the given data bits; "E" stands for a frame whose closing gap is 150 % of the
// learned gap, which the frame decoder rejects with an empty code.
TrainBuilder Frames(const std::vector<std::string>& frames) {
  TrainBuilder train;
  for (const std::string& f : frames) {
    const bool badGap = f == "E";
    train.Add({9000}).Add(Bits(badGap ? "0000" : f)).Add({badGap ? 60000 : 40000});
  }
  return train;
}

TEST_F(VotingFixture, VotingRulesApplyInOrder) {
  const struct {
    std::vector<std::string> Frames;
    std::string Expected;
  } cases[] = {
      {{"0101", "0101", "0101", "0101"}, "0101"},  // all four agree
      {{"0101", "1100", "1100", "1100"}, "1100"},  // the last three agree
      {{"0101", "1100", "0101", "0101"}, "0101"},  // first, third and fourth agree
      {{"0101", "1100", "1100", "0101"}, "1100"},  // X,Y,Y,X: second and third agree
      {{"0101", "0101", "1100", "1100"}, "0101"},  // first pair wins over the last pair
      {{"0101", "1100", "0011", "0011"}, "0011"},  // only the last two agree
      {{"0101", "1100", "0101", "1100"}, "1100"},  // X,Y,X,Y: no pair, the second frame
      {{"E", "E", "0011", "1111"}, "0011"},        // first non-empty of S2, S1, S3, S4
      {{"E", "E", "E", "1111"}, "1111"},
      {{"0110"}, "0110"},  // a burst of a single frame
      {{"E", "E", "E", "E"}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Vote(Frames(c.Frames)), c.Expected) << ::testing::PrintToString(c.Frames);
  }
}

TEST_F(VotingFixture, StartPulseBoundsAreStrictInTheSearchAndInclusiveAtTheEnd) {
  Timings.StartPulse = 10000;  // window 7000..13000
  const struct {
    std::int64_t Start;
    std::string Expected;
  } cases[] = {{7000, ""}, {7001, "0110"}, {12999, "0110"}, {13000, ""}};
  for (const auto& c : cases) {
    TrainBuilder train;
    train.Add({c.Start}).Add(Bits("0110")).Add({40000, 500});
    EXPECT_EQ(Vote(train), c.Expected) << c.Start;
  }

  // The search stops at the last duration, which then passes with the bound included. The
  // frame after it is empty, so only the prefix text shows that it was accepted.
  Timings.PrefixText = "7";
  Limits.MinFrameLength = 0;
  for (const auto& [last, expected] : {std::pair{7000, "7"}, {6999, ""}}) {
    TrainBuilder train;
    train.Add({100, last});
    std::int32_t index = 0;
    EXPECT_EQ(Frame(train, index), expected) << last;
  }
}

TEST_F(VotingFixture, ClosingGapWithin70To130PercentOfTheLearnedGap) {
  const struct {
    std::int64_t Gap;
    std::string Expected;
  } cases[] = {{52000, "0110"}, {52001, ""}, {56000, ""}, {28001, "0110"}};
  for (const auto& c : cases) {
    TrainBuilder train;
    train.Add({9000}).Add(Bits("0110")).Add({c.Gap, 500});
    EXPECT_EQ(Vote(train), c.Expected) << c.Gap;
  }
}

TEST_F(VotingFixture, BitThresholdIsStrictlyAbove70PercentOfMaxValue) {
  TrainBuilder train;
  train.Add({9000, 700, 701, 699, 1300, 40000, 500});
  EXPECT_EQ(Vote(train), "0101");
}

TEST_F(VotingFixture, DurationLongerThanMaxValueRangeEndsTheFrameInBitForm) {
  TrainBuilder train;
  train.Add({9000, 500, 1000, 1301, 500, 40000, 500});
  EXPECT_EQ(Vote(train), "");  // the frame ends at 1301, which is no gap

  MultiLevel = true;  // the multi-level form ends frames at gaps only
  Limits.LevelCount = 3;
  EXPECT_FALSE(Vote(train).empty());
}

TEST_F(VotingFixture, PrefixTextStandsForTheFirstDurations) {
  Timings.PrefixText = "101";
  Timings.PrefixLength = 3;
  Limits.MinFrameLength = 10;
  Limits.MaxFrameLength = 10;
  TrainBuilder train;
  train.Add({9000}).Add(Bits("0001100101")).Add({40000, 500});
  EXPECT_EQ(Vote(train),
            "101"
            "1100101");
}

TEST_F(VotingFixture, FrameOfWrongLengthIsSkippedForTheNextStartPulse) {
  TrainBuilder train;
  train.Add({9000}).Add(Bits("00000")).Add({40000}).Add({9000}).Add(Bits("0110")).Add({40000});
  std::int32_t index = 0;
  EXPECT_EQ(Frame(train, index), "0110");
  EXPECT_EQ(index, 12);  // at the gap that closed the accepted frame
}

TEST_F(VotingFixture, NoStartPulseLeavesTheIndexUnmoved) {
  TrainBuilder train;
  train.Add(Bits("0110")).Add({40000});
  std::int32_t index = 1;
  EXPECT_EQ(Frame(train, index), "");
  EXPECT_EQ(index, 1);
}

TEST_F(VotingFixture, EntryPastTheDataClosesTheLastFrameAsTheBufferHoldsIt) {
  TrainBuilder train;
  train.Add({9000}).Add(Bits("0110"));              // the burst ends before the gap
  EXPECT_EQ(Vote(train, /*stale=*/0), "0110");      // upper bound only: 0 passes
  EXPECT_EQ(Vote(train, /*stale=*/30000), "0110");  // below 70 % is not tested there
  EXPECT_EQ(Vote(train, /*stale=*/52001), "");      // above 130 % fails
}

TEST_F(VotingFixture, FullBufferIsReadWithoutLeavingIt) {
  // Frames of five data durations are out of range; only the last frame, which runs into the
  // end of the buffer, is accepted, and the later frame searches start past the last entry.
  TrainBuilder train;
  while (train.Count() + 7 <= PulseBufferSize - 5) {
    train.Add({9000}).Add(Bits("00000")).Add({40000});
  }
  while (train.Count() < PulseBufferSize - 5) train.Add({500});
  train.Add({9000}).Add(Bits("1001"));
  ASSERT_EQ(train.Count(), PulseBufferSize);
  EXPECT_EQ(Vote(train), "1001");
}

TEST_F(VotingFixture, NoLearnedTimingsMeansNoFrame) {
  const TrainBuilder train = Frames({"0101", "0101"});
  for (const auto& [start, gap] : {std::pair{0, 40000}, {9000, 0}, {-1, -1}}) {
    Timings.StartPulse = start;
    Timings.FrameGap = gap;
    EXPECT_EQ(Vote(train, 0), "") << start << " " << gap;
  }
}

}  // namespace
}  // namespace quillon
