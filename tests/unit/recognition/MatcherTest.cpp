// The template matcher on frames made by hand: the tolerance's edges, the margin between the
// best and the second button, frames moved or split by a glitch, repeat-only bursts, and the
// templates learning builds.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/recognition/ButtonTemplates.h"
#include "core/recognition/TemplateMatcher.h"

namespace quillon {
namespace {

using Burst = std::vector<std::int64_t>;

constexpr std::int64_t Gap = 40'000;  // a space between frames

// A burst of frames separated by Gap.
Burst Joined(const std::vector<Frame>& frames) {
  Burst burst;
  for (const Frame& frame : frames) {
    if (!burst.empty()) burst.push_back(Gap);
    burst.insert(burst.end(), frame.begin(), frame.end());
  }
  return burst;
}

ButtonTemplate Button(std::int32_t key, const std::vector<Frame>& frames) {
  ButtonTemplate button;
  button.Key = key;
  button.Name = "KEY" + std::to_string(key);
  for (const Frame& frame : frames) button.Frames.push_back({frame, false});
  return button;
}

RemoteTemplates Remote(std::vector<ButtonTemplate> buttons) {
  RemoteTemplates templates{std::move(buttons)};
  PrepareTemplates(templates, Tolerance{});
  return templates;
}

const Frame Power = {9000, 4500, 560, 560, 560, 1690, 560, 1690, 560};
const Frame Mute = {9000, 4500, 560, 1690, 560, 560, 560, 1690, 560};
const Frame Volume = {9000, 4500, 560, 1690, 560, 1690, 560, 560, 560};
const Frame RepeatCode = {9000, 2250, 560};

TEST(TemplateMatcher, ADurationCountsAsMatchingUpToItsRelativeAndAbsoluteTolerance) {
  const Tolerance tolerance{.Relative = 0.3, .AbsoluteUs = 100};  // 1000 us: 400 either way
  const Frame reference = {1000, 1000, 1000};
  struct Case {
    std::int32_t Middle;
    bool Within;
  };
  for (const Case c :
       {Case{1400, true}, Case{1401, false}, Case{600, true}, Case{599, false}, Case{1000, true}}) {
    SCOPED_TRACE(c.Middle);
    const double cost = FrameCost({1000, c.Middle, 1000}, reference, tolerance);
    EXPECT_EQ(cost < 1.0, c.Within) << cost;
  }
  // Each duration outside adds one; a frame of another length is a miss.
  EXPECT_GE(FrameCost({1500, 1000, 1500}, reference, tolerance), 2.0);
  EXPECT_EQ(FrameCost({1000}, reference, tolerance), MissCost);
}

TEST(TemplateMatcher, ABurstIsTheButtonWhoseFramesItSends) {
  const RemoteTemplates remote =
      Remote({Button(1, {Power, RepeatCode}), Button(2, {Mute, RepeatCode}),
              Button(3, {Volume, RepeatCode})});
  for (const auto& [frame, key] : {std::pair{Power, 1}, {Mute, 2}, {Volume, 3}}) {
    const TemplateMatch match = MatchBurst(remote, Joined({frame, RepeatCode}), MatchSettings{});
    EXPECT_EQ(match.Answer, TemplateAnswer::Key);
    EXPECT_EQ(match.Key, key);
  }
}

TEST(TemplateMatcher, TheBestButtonMustBeAheadOfTheSecondByTheMargin) {
  // Two buttons apart by more than the tolerance in one duration; a press halfway between is
  // within the tolerance of both, a little nearer the second.
  const Frame a = {3000, 1000, 500, 1000, 500};
  const Frame b = {3000, 1000, 500, 1600, 500};
  const Frame between = {3000, 1000, 500, 1300, 500};
  const RemoteTemplates remote = Remote({Button(1, {a}), Button(2, {b})});
  EXPECT_FALSE(remote.Buttons[0].Frames[0].Common);
  struct Case {
    Frame Sent;
    double Margin;
    TemplateAnswer Answer;
    std::int32_t Key;
  };
  for (const Case& c :
       {Case{between, 0.5, TemplateAnswer::None, 0}, Case{between, 0.01, TemplateAnswer::Key, 2},
        Case{a, 0.5, TemplateAnswer::Key, 1}, Case{b, 0.5, TemplateAnswer::Key, 2},
        Case{a, 1.0, TemplateAnswer::Key, 1}}) {
    SCOPED_TRACE(c.Margin);
    MatchSettings settings;
    settings.Margin = c.Margin;
    const TemplateMatch match = MatchBurst(remote, Joined({c.Sent}), settings);
    EXPECT_EQ(match.Answer, c.Answer);
    EXPECT_EQ(match.Key, c.Key);
  }
}

TEST(TemplateMatcher, AGlitchBeforeOrInsideAFrameMovesNothing) {
  const RemoteTemplates remote = Remote({Button(1, {Power}), Button(2, {Mute})});
  // A stray pulse before the burst is a frame of its own, matching nothing.
  Burst stray = {150, 9000};
  const Burst mute = Joined({Mute});
  stray.insert(stray.end(), mute.begin(), mute.end());
  EXPECT_EQ(MatchBurst(remote, stray, MatchSettings{}).Key, 2);
  // A dropout splits the header space: the frame is two durations longer.
  Frame split = Mute;
  split[1] = 2000;
  split.insert(split.begin() + 2, {300, 2200});
  const TemplateMatch match = MatchBurst(remote, Joined({split}), MatchSettings{});
  EXPECT_EQ(match.Answer, TemplateAnswer::Key);
  EXPECT_EQ(match.Key, 2);
  // A frame cut short by the burst window is left out; the whole frame before it decides.
  const Frame cut(Power.begin(), Power.begin() + 5);
  EXPECT_EQ(MatchBurst(remote, Joined({Power, cut}), MatchSettings{}).Key, 1);
}

TEST(TemplateMatcher, ABurstOfFramesEveryButtonSendsIsARepeat) {
  const RemoteTemplates remote =
      Remote({Button(1, {Power, RepeatCode}), Button(2, {Mute, RepeatCode})});
  EXPECT_EQ(MatchBurst(remote, Joined({RepeatCode, RepeatCode}), MatchSettings{}).Answer,
            TemplateAnswer::Repeat);
  // A constant first frame, as air conditioners send, is skipped the same way.
  const RemoteTemplates conditioner =
      Remote({Button(1, {RepeatCode, Power}), Button(2, {RepeatCode, Mute})});
  EXPECT_EQ(MatchBurst(conditioner, Joined({RepeatCode, Mute}), MatchSettings{}).Key, 2);
  // Nothing known at all is no repeat.
  EXPECT_EQ(MatchBurst(remote, Joined({{700, 700, 700}}), MatchSettings{}).Answer,
            TemplateAnswer::None);
}

TEST(TemplateMatcher, OfTwoButtonsWithTheSameFramesTheLaterAnswers) {
  const RemoteTemplates remote =
      Remote({Button(1, {Power}), Button(2, {Mute}), Button(3, {Power})});
  EXPECT_TRUE(remote.Buttons[0].Shadowed);
  EXPECT_FALSE(remote.Buttons[2].Frames[0].Common);
  const TemplateMatch match = MatchBurst(remote, Joined({Power}), MatchSettings{});
  EXPECT_EQ(match.Answer, TemplateAnswer::Key);
  EXPECT_EQ(match.Key, 3);
}

TEST(ButtonTemplates, FramesSplitAtLongSpacesAndEndOnAMark) {
  const std::vector<Frame> frames =
      SplitFrames(std::vector<std::int64_t>{500, 400, 500, 6000, 700, 5999, 700, 300});
  ASSERT_EQ(frames.size(), 2U);
  EXPECT_EQ(frames[0], (Frame{500, 400, 500}));
  EXPECT_EQ(frames[1], (Frame{700, 5999, 700}));
}

TEST(ButtonTemplates, ATemplateAveragesTheFramesSeveralPressesSent) {
  Frame louder = Power;
  louder[0] = 9200;
  const Frame cut(Mute.begin(), Mute.begin() + 3);
  const std::vector<LearnedBurst> presses = {{Joined({Power, RepeatCode}), false},
                                             {Joined({louder}), false},
                                             {Joined({Power, cut}), false}};
  const ButtonTemplate button = BuildButtonTemplate(4, "POWER", presses, Tolerance{});
  EXPECT_EQ(button.Key, 4);
  ASSERT_EQ(button.Frames.size(), 1U);  // the repeat code and the cut frame came once each
  EXPECT_EQ(button.Frames[0].Durations[0], 9067);
  EXPECT_EQ(button.Frames[0].Durations.size(), Power.size());
  // With no frame seen twice, every frame is kept.
  const ButtonTemplate single =
      BuildButtonTemplate(5, "ONE", {{Joined({Power, RepeatCode}), false}}, {});
  EXPECT_EQ(single.Frames.size(), 2U);
}

// A long frame of `bits` marks of 500 us, each followed by 500 or 1500 us as the bit says.
Frame LongFrame(std::uint64_t bits, std::size_t count) {
  Frame frame = {3500, 1700};
  for (std::size_t i = 0; i < count; ++i) {
    frame.push_back(500);
    frame.push_back((bits >> (i % 64)) & 1U ? 1500 : 500);
  }
  frame.push_back(500);
  return frame;
}

TEST(ButtonTemplates, FramesTheBurstWindowCutAreKnownByTheirBeginning) {
  // An air conditioner's long state frame, cut by the burst window at different places in the
  // learning presses; a constant frame before it.
  const Frame header = {3500, 1700, 500, 500, 500};
  const auto learned = [&](std::uint64_t bits) {
    std::vector<LearnedBurst> bursts;
    for (const std::size_t cutAt : {60U, 70U, 64U}) {
      const Frame state = LongFrame(bits, 100);
      bursts.push_back({Joined({header, Frame(state.begin(), state.begin() + cutAt + 1)}), true});
    }
    return bursts;
  };
  RemoteTemplates remote;
  remote.Buttons.push_back(BuildButtonTemplate(1, "COOL", learned(0x5A5A), Tolerance{}));
  remote.Buttons.push_back(BuildButtonTemplate(2, "HEAT", learned(0xA5A5), Tolerance{}));
  PrepareTemplates(remote, Tolerance{});
  ASSERT_EQ(remote.Buttons[0].Frames.size(), 2U);
  EXPECT_TRUE(remote.Buttons[0].Frames[0].Common);
  EXPECT_TRUE(remote.Buttons[0].Frames[1].Cut);
  EXPECT_EQ(remote.Buttons[0].Frames[1].Durations.size(), 61U);  // the shortest beginning

  for (const std::size_t cutAt : {40U, 90U}) {
    const Frame heat = LongFrame(0xA5A5, 100);
    const Burst burst = Joined({header, Frame(heat.begin(), heat.begin() + cutAt + 1)});
    const TemplateMatch match = MatchBurst(remote, burst, MatchSettings{});
    EXPECT_EQ(match.Answer, TemplateAnswer::Key) << cutAt;
    EXPECT_EQ(match.Key, 2) << cutAt;
  }
  // The rest of the press, beginning inside the frame, is nothing known and no repeat.
  const Frame heat = LongFrame(0xA5A5, 100);
  EXPECT_EQ(MatchBurst(remote, Burst(heat.begin() + 91, heat.end()), MatchSettings{}).Answer,
            TemplateAnswer::None);
}

}  // namespace
}  // namespace quillon
