#include "core/receiver/PtkLineDecoder.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

namespace quillon {
namespace {

// A key-data line: a leading character, then the given byte values.
std::string Line(std::initializer_list<int> values, char lead = ':') {
  std::string line(1, lead);
  for (const int v : values) line += static_cast<char>(v);
  return line;
}

std::string Short(std::initializer_list<int> values) { return Line(values).substr(1); }

RepeatFrameBlock Frame(std::uint8_t valid, std::int32_t top, std::vector<std::int64_t> values) {
  RepeatFrameBlock frame;
  frame.Valid = valid;
  frame.RepeatTop = top;
  for (std::size_t i = 0; i < values.size(); ++i) frame.RepeatFrame[i] = values[i];
  return frame;
}

TEST(PtkLineDecoder, DecodesFrameLinesIntoClassDigits) {
  const struct {
    const char* What;
    std::string Line;
    std::string Code;
    int Threshold;
  } cases[] = {
      {"two classes, the shortest is 0", Line({60, 45, 60, 45, 45, 60}), "101001", 60},
      {"any leading character is no duration", Line({60, 45, 60, 45, 45}, 'Z'), "10100", 60},
      {"not even a '<'", Line({60, 45, 60, 45, 45}, '<'), "10100", 60},
      {"a header class far above the others goes with the first duration",
       Line({127, 82, 43, 54, 43, 43, 43, 54}), "010001", 82},
      {"classes evenly spaced all stay", Line({90, 75, 60, 45, 60, 90}), "321013", 90},
      {"values of 123 and more are no class", Line({130, 60, 45, 60, 45, 200}), "1010", 60},
      {"no class at all", Line({130, 140, 150, 160, 170}), "", 0},
      {"leading values below 37 are no durations", Line({33, 34, 60, 45, 60, 45}), "1010", 60},
      {"a value below 37 among the durations drops a leading one and stays",
       Line({60, 45, 35, 60, 60, 45}), "10221", 60},
      {"a duration near no class adds nothing", Line({62, 58, 45, 62, 45, 45}), "10100", 62},
      {"a duration in two windows adds both digits", Line({60, 57, 54, 60, 54, 54}), "1100100", 60},
      {"ten classes give the digits 0 to 9", Line({113, 106, 99, 92, 85, 78, 71, 64, 57, 50}),
       "9876543210", 113},
      {"more than ten classes give no code", Line({120, 113, 106, 99, 92, 85, 78, 71, 64, 57, 50}),
       "", 120},
  };
  for (const auto& c : cases) {
    for (const LineVariant variant : {LineVariant::Keys, LineVariant::Measure}) {
      RepeatAccumulator repeats;
      const LineDecode decoded = DecodeKeyLine(c.Line, variant, repeats, {});
      EXPECT_EQ(decoded.Code, c.Code) << c.What;
      EXPECT_EQ(decoded.Threshold, c.Threshold) << c.What;
      EXPECT_FALSE(decoded.RepeatFrame) << c.What;
    }
  }
}

TEST(PtkLineDecoder, ShortLinesRepeatTheLearnedRepeatFrame) {
  const RepeatFrameBlock frame = Frame(1, 3, {151, 64, 45});
  const struct {
    const char* What;
    std::vector<std::string> Lines;
    bool Repeat;
  } cases[] = {
      {"two frames within 5 units", {Short({151, 64, 45}), Short({146, 69, 40})}, true},
      {"a frame at a later offset", {Short({9, 151, 64}), Short({45, 9, 9})}, true},
      {"a value 6 units off", {Short({100, 64, 51}), Short({90, 64, 51})}, false},
  };
  for (const auto& c : cases) {
    RepeatAccumulator repeats;
    LineDecode decoded;
    for (const std::string& line : c.Lines) {
      EXPECT_FALSE(decoded.RepeatFrame) << c.What;
      decoded = DecodeKeyLine(line, LineVariant::Keys, repeats, frame);
    }
    EXPECT_EQ(decoded.RepeatFrame, c.Repeat) << c.What;
    EXPECT_EQ(decoded.Code, c.Repeat ? "151 64 45 " : "") << c.What;
    EXPECT_EQ(repeats.Size(), 0U) << c.What << ": emptied after each comparison";
  }
}

TEST(PtkLineDecoder, TheSecondVariantGivesNothingForShortLines) {
  RepeatAccumulator repeats;
  const RepeatFrameBlock frame = Frame(1, 1, {151});
  for (int i = 0; i < 3; ++i) {
    const LineDecode decoded =
        DecodeKeyLine(Short({151, 64}), LineVariant::Measure, repeats, frame);
    EXPECT_EQ(decoded.Code, "");
    EXPECT_FALSE(decoded.RepeatFrame);
  }
  EXPECT_EQ(repeats.Size(), 0U);
}

TEST(PtkLineDecoder, OnlyAUsableRepeatFrameIsComparedAndTheAccumulatorStaysBounded) {
  const struct {
    const char* What;
    RepeatFrameBlock Frame;
    bool Usable;
  } cases[] = {
      {"valid", Frame(1, 2, {151, 64}), true},
      {"not valid", Frame(0, 2, {151, 64}), false},
      {"RepeatTop 0", Frame(1, 0, {151, 64}), false},
      {"RepeatTop negative", Frame(1, -4, {151, 64}), false},
      {"RepeatTop beyond a frame record", Frame(1, 10, {151, 64}), false},
      {"RepeatTop huge", Frame(1, 1 << 30, {151, 64}), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UsableReceiverFrame(c.Frame), c.Usable) << c.What;
    RepeatAccumulator repeats;
    bool repeated = false;
    for (int i = 0; i < 1000; ++i) {
      repeated |=
          DecodeKeyLine(Short({151, 64, 151, 64}), LineVariant::Keys, repeats, c.Frame).RepeatFrame;
      EXPECT_LE(repeats.Size(), 2U * RepeatAccumulator::MaxFrame + 5) << c.What;
    }
    EXPECT_EQ(repeated, c.Usable) << c.What;
  }
}

TEST(PtkLineDecoder, LearnedValuesAtThe64BitLimitsMatchNoLine) {
  // A corrupt remote file can hold any value; it is compared, never subtracted.
  for (const std::int64_t learned :
       {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()}) {
    RepeatAccumulator repeats;
    const RepeatFrameBlock frame = Frame(1, 2, {learned, 64});
    DecodeKeyLine(Short({151, 64}), LineVariant::Keys, repeats, frame);
    EXPECT_FALSE(DecodeKeyLine(Short({151, 64}), LineVariant::Keys, repeats, frame).RepeatFrame);
  }
  RepeatAccumulator repeats;
  const RepeatFrameBlock frame = Frame(1, 2, {146, 69});  // within 5 of each value
  DecodeKeyLine(Short({151, 64}), LineVariant::Keys, repeats, frame);
  EXPECT_TRUE(DecodeKeyLine(Short({151, 64}), LineVariant::Keys, repeats, frame).RepeatFrame);
}

}  // namespace
}  // namespace quillon
