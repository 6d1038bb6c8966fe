#include "core/receiver/SignalLengthDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "receiver/TrainBuilder.h"

namespace quillon {
namespace {

using test::PulseDistance;
using test::TrainBuilder;

const std::string NecBits = "00000000111111110100100010110111";

// A frame with a 9000/4500 header, 32 bits, the 40000 gap and a short repeat frame.
TrainBuilder NecBurst(std::int64_t firstDuration = 0) {
  TrainBuilder train;
  if (firstDuration > 0) train.Add({firstDuration});
  train.Add({9000, 4500}).Add(PulseDistance(NecBits)).Add({40000, 9000, 2250, 560});
  return train;
}

SignalLengthResult Decode(const TrainBuilder& train, LearnedTimings& timings) {
  const PulseBufferArray buffer = train.Buffer();
  return SignalLengthDecode(PulseTrain(buffer, train.Count()), DecoderSettings{}, timings);
}

TEST(SignalLengthDecoder, FindsHeaderAndGapOfTheFirstFrame) {
  for (const std::int64_t quiet : {0, 2'000'000}) {  // with and without a stale first duration
    LearnedTimings timings;
    const SignalLengthResult result = Decode(NecBurst(quiet), timings);
    ASSERT_TRUE(result.Sample) << quiet;
    EXPECT_EQ(result.Sample->StartPulse, 9000);
    EXPECT_EQ(result.Sample->FrameGap, 40000);
    // The header space is the longest class, then the long and the short spaces.
    std::string expected = "2";
    for (const char bit : NecBits) expected += bit == '1' ? "01" : "00";
    expected += "0";
    EXPECT_EQ(result.Code, expected) << quiet;
    EXPECT_EQ(timings.LevelTop, 2);
    EXPECT_EQ(timings.MaxValue, 1690);
  }
}

TEST(SignalLengthDecoder, FrameWithoutHeaderOpensAtTheEarlierGap) {
  // Two headerless frames of 320-tick marks and 680/1680-tick spaces between 40000-tick gaps.
  auto frame = [](const std::string& bits) {
    std::vector<std::int64_t> out;
    for (const char c : bits) {
      out.push_back(320);
      out.push_back(c == '1' ? 1680 : 680);
    }
    out.push_back(320);
    return out;
  };
  TrainBuilder train;
  train.Add(frame("110100110000110")).Add({40000}).Add(frame("001011001111001")).Add({40000});
  train.Add(frame("110100110000110"));
  LearnedTimings timings;
  const SignalLengthResult result = Decode(train, timings);
  ASSERT_TRUE(result.Sample);
  EXPECT_EQ(result.Sample->StartPulse, 40000);
  EXPECT_EQ(result.Sample->FrameGap, 40000);
  // Marks are the shortest class, then the short and the long spaces.
  std::string expected;
  for (const char bit : std::string("001011001111001")) expected += bit == '1' ? "02" : "01";
  EXPECT_EQ(result.Code, expected + "0");
}

TEST(SignalLengthDecoder, BurstWithoutFrameStructureYieldsNothing) {
  TrainBuilder singleFrame;  // the burst ends before any gap
  singleFrame.Add({9000, 4500}).Add(PulseDistance(NecBits));
  TrainBuilder flat;
  flat.Add(std::vector<std::int64_t>(40, 5000));
  for (const TrainBuilder& train : {singleFrame, flat, TrainBuilder{}}) {
    LearnedTimings timings;
    timings.MaxValue = 1234;
    const SignalLengthResult result = Decode(train, timings);
    EXPECT_EQ(result.Code, "");
    EXPECT_FALSE(result.Sample);
    EXPECT_EQ(timings.MaxValue, 1234);  // nothing learned from it
  }
}

TEST(SignalLengthDecoder, MaxValueIsTheClassJustAboveTheShortest) {
  const struct {
    std::vector<std::int64_t> Data;
    std::int64_t Expected;
  } cases[] = {
      {{1690, 560}, 1690},                  // two classes: the longer
      {{4500, 1690, 560}, 1690},            // the shortest within t3: t2
      {{5000, 3000, 1690, 560}, 1690},      // the shortest within t4: t3
      {{4500, 1690, 560, 300, 100}, 4500},  // the shortest fits no class: t1
  };
  for (const auto& c : cases) {
    TrainBuilder train;
    train.Add({9000});
    for (const std::int64_t d : c.Data) train.Add({d, d, 560, d});
    train.Add({40000, 9000, 560});
    LearnedTimings timings;
    const SignalLengthResult result = Decode(train, timings);
    ASSERT_TRUE(result.Sample) << ::testing::PrintToString(c.Data);
    EXPECT_EQ(timings.MaxValue, c.Expected) << ::testing::PrintToString(c.Data);
  }
}

}  // namespace
}  // namespace quillon
