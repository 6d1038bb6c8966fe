// Learning with button templates: the offer to go on with templates only after the third
// failed signal-length test, in both languages, and a remote learned that way saved with its
// companion file.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/recognition/TemplateFile.h"
#include "learning/LearningBench.h"
#include "replay/CaptureReplay.h"

namespace quillon {
namespace {

using test::LearningBench;

// Five presses that give the signal-length test no code.
void FailOnce(LearningBench& bench) {
  for (int press = 0; press < 5; ++press) bench.Procedure.SignalLengthAnalysis("", {});
}

TEST(LearningTemplates, TheThirdFailedSignalLengthTestOffersTemplatesOnly) {
  struct Case {
    LanguageFlag Language;
    std::string Question;
    std::string Line;
  };
  const Case cases[] = {
      {English, "Continue with button templates only?",
       "*****Training with button templates only*****"},
      {Bulgarian, "Да продължи ли обучението само с шаблони на бутоните?",
       "*****Обучение само с шаблони на бутоните*****"},
  };
  for (const Case& c : cases) {
    LearningBench bench;
    bench.Language = c.Language;
    bench.Procedure.ButtonStartLearnClick();
    bench.View.Answers = {MessageAnswer::No, MessageAnswer::Yes};
    FailOnce(bench);
    FailOnce(bench);
    EXPECT_TRUE(bench.View.Messages.empty());
    FailOnce(bench);
    ASSERT_EQ(bench.View.Messages.size(), 1U);
    EXPECT_NE(bench.View.Messages[0].find(c.Question), std::string::npos);
    // No: the test goes on as before, and asks again after three more failures.
    EXPECT_EQ(bench.Procedure.State().Stage, LearningStage::SignalLengthTest);
    for (int failure = 0; failure < 3; ++failure) FailOnce(bench);
    ASSERT_EQ(bench.View.Messages.size(), 2U);
    EXPECT_EQ(bench.Procedure.State().Stage, LearningStage::Training);
    EXPECT_TRUE(bench.Procedure.State().TemplatesOnly);
    EXPECT_NE(std::find(bench.View.Lines.begin(), bench.View.Lines.end(), c.Line),
              bench.View.Lines.end());
  }
}

// A press of a one-frame remote: header, then 12 bits of `bits`, in counter ticks.
std::vector<std::int64_t> Press(std::uint32_t bits) {
  std::vector<std::int64_t> us = {4000, 4000};
  for (int i = 0; i < 12; ++i) {
    us.push_back(500);
    us.push_back((bits >> i) & 1U ? 1500 : 500);
  }
  us.push_back(500);
  for (std::int64_t& d : us) d *= 10;
  return us;
}

TEST(LearningTemplates, ARemoteLearnedWithTemplatesOnlyIsSavedWithItsCompanionFile) {
  LearningBench bench;
  bench.Procedure.ButtonStartLearnClick();
  for (int failure = 0; failure < 3; ++failure) FailOnce(bench);
  ASSERT_TRUE(bench.Procedure.State().TemplatesOnly);
  const auto press = [&](std::uint32_t bits) {
    while (bench.Pipeline.HoldOffRunning()) bench.Loop.AdvanceBy(10);
    PlayPress(bench.Pipeline, bench.Loop, bench.Clock, Press(bits));
  };
  for (const auto& [bits, name] : {std::pair{0x0F0U, "ON"}, {0xF00U, "OFF"}}) {
    for (int p = 0; p < 3; ++p) press(bits);
    bench.Remember(name);
  }
  ASSERT_EQ(bench.Procedure.State().KeyIndex, 2);
  const RemoteTemplates& learned = bench.Procedure.Templates();
  ASSERT_EQ(learned.Buttons.size(), 2U);
  EXPECT_EQ(learned.Buttons[1].Key, 2);
  EXPECT_EQ(learned.Buttons[1].Name, "OFF");
  ASSERT_EQ(learned.Buttons[1].Frames.size(), 1U);
  EXPECT_EQ(learned.Buttons[1].Frames[0].Durations.size(), 27U);

  bench.Procedure.ButtonStartLearnClick();  // Save data
  ASSERT_TRUE(bench.Procedure.State().LearnSaved);
  const std::filesystem::path file = bench.Folder.Path / "Acme_TV1.IRD";
  CurrentRemote loaded;
  const auto load = LoadRemoteFile(file, loaded, English);
  ASSERT_TRUE(load && load.Value().Found);
  EXPECT_TRUE(load.Value().TemplateProblem.empty()) << load.Value().TemplateProblem;
  EXPECT_EQ(loaded.Templates.Buttons.size(), 2U);
  // Each key holds its own number as its code.
  EXPECT_EQ(loaded.Record->Keys[1].Data[0].Text(), "1");
  EXPECT_EQ(loaded.Record->Keys[2].Data[0].Text(), "2");
  EXPECT_EQ(loaded.Record->LockUpCount, 1);  // the closing empty row alone: no pair
}

// Training a remote whose frame the signal-length test found: a press the decoder reads no
// code from is taken when its burst holds a frame to tell the button by. Its key stores its
// number in binary over the nominal length, so the lengths and levels taken from the stored
// codes at load stay those of the decoded codes. A tap, or a repeat frame, is still no press.
TEST(LearningTemplates, APressWithoutACodeIsTakenByItsTemplate) {
  struct Case {
    std::string Name;
    std::vector<std::int64_t> Ticks;
    bool RepeatFrame;
    std::string Code;  // of the second key; empty when the press is not taken
  };
  const std::vector<Case> cases = {
      {"a whole frame", Press(0x0F0U), false, "00000010"},
      {"a tap", {900'000, 450'000, 56'000}, false, ""},
      {"a repeat frame", Press(0x0F0U), true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    LearningBench bench;
    bench.StartTraining();  // codes of 8 symbols
    bench.Presses({"10101010"});
    bench.Remember("ON");
    ASSERT_EQ(bench.Procedure.State().KeyIndex, 1);

    PulseBufferArray buffer{};
    std::copy(c.Ticks.begin(), c.Ticks.end(), buffer.begin());
    bench.Clock.AdvanceTo(bench.Clock.Counter() + platform::CounterTicksPerSecond);
    bench.Procedure.RepeatFrameVerdict(
        PulseTrain(buffer, static_cast<std::int32_t>(c.Ticks.size())));
    bench.Procedure.ButtonCapture("", c.RepeatFrame);
    EXPECT_EQ(bench.Procedure.State().Boxes[0], c.Code);
    EXPECT_EQ(bench.Procedure.State().ButtonOkEnabled, !c.Code.empty());
    if (c.Code.empty()) continue;

    bench.Remember("OFF");
    ASSERT_EQ(bench.Procedure.State().KeyIndex, 2);
    ASSERT_EQ(bench.Procedure.Templates().Buttons.size(), 1U);  // ON was pressed without a burst
    EXPECT_EQ(bench.Procedure.Templates().Buttons[0].Key, 2);
    bench.Procedure.ButtonStartLearnClick();  // Save data
    ASSERT_TRUE(bench.Procedure.State().LearnSaved);
    CurrentRemote loaded;
    const auto load = LoadRemoteFile(bench.Folder.Path / "Acme_TV1.IRD", loaded, English);
    ASSERT_TRUE(load && load.Value().Found);
    EXPECT_EQ(loaded.Templates.Buttons.size(), 1U);
    EXPECT_EQ(loaded.Record->Keys[2].Data[0].Text(), c.Code);
    EXPECT_EQ(loaded.Limits.MinFrameLength, 8);
    EXPECT_EQ(loaded.Limits.MaxFrameLength, 8);
    EXPECT_EQ(loaded.Limits.LevelCount, 2);
  }
}

}  // namespace
}  // namespace quillon
