#include "core/learning/LearningProcedure.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "LearningBench.h"
#include "core/learning/RemoteFile.h"

namespace quillon {
namespace {

using test::LearningBench;
using Lines = std::vector<std::string>;

const std::string A = "11110000";
const std::string B = "11110001";
const std::string EnterName = "Enter the button name and press \"Remember\"";

LearnGrid::Row Row(const std::string& number, const std::string& name, const Lines& codes) {
  return {number, name, codes[0], codes[1], codes[2], codes[3], codes[4]};
}

TEST(LearningProcedure, TheNominalLengthIsTheCommonestAndBoundsTraining) {
  LearningBench bench;
  bench.Procedure.ButtonStartLearnClick();
  bench.SignalTest({std::string(34, '1'), std::string(34, '1'), std::string(36, '1'),
                    std::string(34, '1'), std::string(36, '1')});
  EXPECT_EQ(bench.Remote.Record->NominalLength, 34);
  EXPECT_EQ(bench.Remote.Limits.MinFrameLength, 31);
  EXPECT_EQ(bench.Remote.Limits.MaxFrameLength, 37);
  EXPECT_EQ(bench.Remote.Timings.StartPulse, 9000);
  EXPECT_EQ(bench.Remote.Timings.FrameGap, 40000);
  EXPECT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::HoldButtonTest);
  for (int burst = 0; burst < 10; ++burst) bench.Procedure.RepeatCodeAnalysis({});
  ASSERT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::LearnButton);

  const struct {
    std::size_t Length;
    bool Taken;
  } cases[] = {{30, false}, {31, true}, {37, true}, {38, false}};
  for (const auto& c : cases) {
    bench.Procedure.Button2Click();
    bench.Presses({std::string(c.Length, '2')});
    EXPECT_EQ(!bench.View.Boxes[0].empty(), c.Taken) << c.Length;
  }
}

TEST(LearningProcedure, AFailedReferenceSearchStartsTheTestAgain) {
  LearningBench bench;
  bench.Procedure.ButtonStartLearnClick();
  for (const std::int64_t start : {9000, 3000, 20000, 9000, 50000}) {  // no three agree
    bench.Procedure.SignalLengthAnalysis("10110011", FrameSample{start, 40000});
  }
  EXPECT_EQ(bench.View.Tail(9),
            (Lines{"№5 -> 10110011 ....Ok", "", "The values cannot be discovered.",
                   "Try again or leave the program. ", "",
                   "*****Begin of test: DETERMINE SIGNAL LENGTH*****", "",
                   "Please press the button №1 five(5) times running", ""}));
  EXPECT_EQ(bench.Remote.Timings.StartPulse, -1);
  EXPECT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::SignalLengthTest);
  bench.SignalTest(Lines(5, "10110011"));
  EXPECT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::HoldButtonTest);
}

TEST(LearningProcedure, TheThirdRejectedCodeAsksForAnotherWayOfPressing) {
  LearningBench bench;
  bench.Procedure.ButtonStartLearnClick();
  const std::size_t before = bench.View.Lines.size();
  for (const char* code : {"", "101", "", "101"}) bench.Procedure.SignalLengthAnalysis(code, {});
  EXPECT_EQ(bench.View.Lines.size(), before);  // empty codes are not counted
  bench.Procedure.SignalLengthAnalysis("101", {});
  EXPECT_EQ(bench.View.Tail(3),
            (Lines{"", "<< Failed to get a consistent signal. Please try again. >>", ""}));
}

TEST(LearningProcedure, EachButtonKeepsItsDistinctCodesOnce) {
  const struct {
    const char* What;
    Lines Presses;
    Lines Boxes;
    Lines Stored;
  } cases[] = {
      {"five identical presses", Lines(5, A), {A, "", "", "", ""}, {A, A, A, A, A}},
      {"a toggle bit", {A, B, A, B, A}, {A, B, "", "", ""}, {A, B, A, A, A}},
  };
  for (const auto& c : cases) {
    LearningBench bench;
    bench.StartTraining();
    bench.Presses(c.Presses);
    EXPECT_EQ(Lines(bench.View.Boxes.begin(), bench.View.Boxes.end()), c.Boxes) << c.What;
    EXPECT_TRUE(bench.View.Enabled[LearningControl::ButtonOk]) << c.What;
    EXPECT_EQ(bench.View.Tail(4), (Lines{"№5 -> " + c.Presses[4] + " ...Ok", "", EnterName, ""}));
    bench.Remember("Power");
    ASSERT_EQ(bench.View.Keys.Rows.size(), 3U) << c.What;
    EXPECT_EQ(bench.View.Keys.Rows[1], Row("1", "POWER", c.Stored)) << c.What;
    EXPECT_EQ(bench.View.Keys.Rows[2], LearnGrid::Row{}) << c.What;
  }
}

TEST(LearningProcedure, ASixthPressOnlyRepeatsTheRequestForTheName) {
  LearningBench bench;
  bench.StartTraining();
  bench.Presses({A, A, A, A, A});
  const std::size_t before = bench.View.Lines.size();
  bench.Presses({B});
  EXPECT_EQ(bench.View.Lines.size(), before + 2);
  EXPECT_EQ(bench.View.Tail(2), (Lines{"", EnterName}));
  EXPECT_EQ(bench.View.Boxes[1], "");
  EXPECT_EQ(bench.View.Focused, LearningControl::ButtonName);
  EXPECT_TRUE(bench.View.Label3Visible);
  bench.Loop.AdvanceBy(LearningProcedure::BlinkMs);
  EXPECT_FALSE(bench.View.Label3Red);  // yellow, then red again
  bench.Loop.AdvanceBy(LearningProcedure::BlinkMs);
  EXPECT_TRUE(bench.View.Label3Red);
}

TEST(LearningProcedure, AHeldButtonRepeatsTheLastCodeTaken) {
  LearningBench bench;
  bench.StartTraining();
  bench.Procedure.ButtonCapture(A, true);
  EXPECT_EQ(bench.View.Tail(4),
            (Lines{"", "<<Release the button and press it again.>>", "", "№1 -> " + A + " ...Ok"}));
  bench.Procedure.ButtonCapture("0", true);
  EXPECT_EQ(bench.View.Tail(2), (Lines{"Hold data", "№2 -> " + A + " ...Ok"}));
}

TEST(LearningProcedure, CodesOutsideTheLengthWindowAreExplainedInBulgarian) {
  LearningBench bench;
  bench.Language = Bulgarian;
  bench.StartTraining();
  bench.Presses({"1", "1"});
  EXPECT_EQ(bench.View.Tail(3), (Lines{"", "<< Броят на данните не е достатъчен. >>", ""}));
  bench.Presses({std::string(20, '1')});
  EXPECT_EQ(
      bench.View.Tail(4),
      (Lines{"<< Броят на данните не е достатъчен. >>",
             "<< Текущия брой на импулсите е: 20, при номинален брой: 8 ±3",
             "Опитайте отново или променете допустимото отклонение: ±3 от \"НАСТРОЙКИ\" >>", ""}));
}

TEST(LearningProcedure, ACollidingCodeMakesALockUpPair) {
  LearningBench bench;
  bench.StartTraining();
  bench.Presses(Lines(5, A));
  bench.Remember("Power");
  bench.Presses({B, A, B, B, B});
  bench.Remember("Mute");
  const LearnGrid& lockUps = bench.View.LockUps;
  ASSERT_EQ(lockUps.Rows.size(), 4U);
  EXPECT_EQ(lockUps.Rows[1], Row("1", "POWER", Lines(5, A)));
  EXPECT_EQ(lockUps.Rows[2], Row("2", "MUTE", {B, A, B, B, B}));
  EXPECT_EQ(lockUps.Rows[3], LearnGrid::Row{});

  bench.Procedure.ButtonStartLearnClick();
  CurrentRemote loaded;
  ASSERT_TRUE(LoadRemoteFile(bench.Folder.Path / "Acme_TV1.IRD", loaded, English));
  EXPECT_EQ(loaded.Record->KeyCount, 3);
  EXPECT_EQ(loaded.Record->LockUpCount, 3);
  EXPECT_EQ(loaded.Record->LockUps[2].Name.Text(), "MUTE");
}

TEST(LearningProcedure, NamesAreCheckedAsTheyAreStored) {
  const std::string long64(64, 'A');
  const struct {
    LanguageFlag Language;
    std::string Typed;
    std::string Message;
  } cases[] = {
      {English, "pOWER", "Button name \"POWER\" exists!\r\nChange the button name!"},
      {Bulgarian, "pOWER", "Бутон с име \"pOWER\" съществува!\r\nПроменете името на бутона!"},
      {English, "", "Missing Button name!"},
      {English, long64 + "2", "Button name \"" + long64 + "\" exists!\r\nChange the button name!"},
  };
  for (const auto& c : cases) {
    LearningBench bench;
    bench.Language = c.Language;
    bench.StartTraining();
    bench.Presses(Lines(5, A));
    bench.Remember(c.Typed.size() > 64 ? long64 + "1" : "Power");
    bench.Presses(Lines(5, B));
    bench.Remember(c.Typed);
    ASSERT_EQ(bench.View.Messages.size(), 1U) << c.Typed;
    EXPECT_EQ(bench.View.Messages[0], c.Message);
    EXPECT_EQ(bench.View.Keys.Rows.size(), 3U);
    EXPECT_EQ(bench.View.Boxes[0], B);  // the codes stay for another name
    EXPECT_EQ(bench.View.Label3At, Label3Place::NameBox);
  }
}

TEST(LearningProcedure, RememberRefusesTheNinetyNinthKey) {
  LearningBench bench;
  bench.StartTraining(3);
  for (int key = 100; key < 199; ++key) {
    bench.Presses({std::to_string(key)});
    bench.Remember("K" + std::to_string(key));
  }
  EXPECT_EQ(bench.View.Keys.Rows.size(), 100U);
  EXPECT_EQ(bench.View.Messages, Lines{"A remote holds at most 98 buttons.\r\nSave the data."});
}

TEST(LearningProcedure, TheNameBoxRefusesBracketsTypedOrPasted) {
  LearningBench bench;
  bench.StartTraining();
  EXPECT_FALSE(bench.Procedure.ButtonNameKeyPress(U'<', false));
  EXPECT_FALSE(bench.Procedure.ButtonNameKeyPress(U' ', false));  // the box is empty
  bench.Procedure.ButtonNameChange("  <Vol>+ [1]");
  EXPECT_EQ(bench.View.NameText, "Vol+ 1");
  EXPECT_FALSE(bench.Procedure.ButtonNameKeyPress(U' ', true));
  EXPECT_TRUE(bench.Procedure.ButtonNameKeyPress(U' ', false));
  bench.Procedure.ButtonNameChange("Vol+ 1 ");
  bench.Procedure.ButtonNameExit();
  EXPECT_EQ(bench.View.NameList, Lines{"Vol+ 1"});
}

TEST(LearningProcedure, TheUsersKeysDelaySurvivesClearAllAndComesBackOnClosing) {
  LearningBench bench;
  bench.Settings.KeysDelay = 120;
  bench.Procedure.ButtonStartLearnClick();
  EXPECT_EQ(bench.Settings.KeysDelay, 1);
  bench.Procedure.Button3Click();
  bench.Procedure.ButtonStartLearnClick();  // disabled after Clear all: nothing happens
  bench.Procedure.ButtonNameChange("Mute");
  bench.Procedure.ButtonNameExit();
  bench.Procedure.FormClose();
  EXPECT_EQ(bench.Settings.KeysDelay, 120);
  EXPECT_EQ(bench.Registry.Value(ProductKey, "KeysDelay"), platform::FakeRegistryValue{120U});
  EXPECT_EQ(bench.Registry.Value(LearningKey, "Key Name #0"), platform::FakeRegistryValue{"Mute"});
  EXPECT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::Execute);
  EXPECT_EQ(bench.View.PortHandedBack, 1);
}

TEST(LearningProcedure, NoPressIsTakenWhileTheOptionsAreOpen) {
  LearningBench bench;
  bench.Procedure.ButtonStartLearnClick();
  bench.View.InOptions = [&] {
    EXPECT_FALSE(bench.Pipeline.ReceiveEnabled);
    bench.Settings.KeysDelay = 40;
  };
  bench.Procedure.ButtonOptionsClick();
  EXPECT_TRUE(bench.Pipeline.ReceiveEnabled);
  EXPECT_EQ(bench.ReceiverOptions.KeysDelay, 40);
}

TEST(LearningProcedure, OnlyADataFileOnTheDiskCountsAsSaved) {
  const struct {
    const char* What;
    bool PressSave;
    bool WriteFails;
    bool Saved;
  } cases[] = {{"saved", true, false, true},
               {"cancelled", false, false, false},
               {"write failed", true, true, false}};
  for (const auto& c : cases) {
    LearningBench bench;
    bench.Settings.KeysDelay = 50;
    bench.View.PressSave = c.PressSave;
    // A folder where the temporary file must go makes the write fail.
    if (c.WriteFails) std::filesystem::create_directory(bench.Folder.Path / "Acme_TV1.IRD.new");
    bench.StartTraining();
    bench.Presses(Lines(5, A));
    bench.Remember("Power");
    bench.Procedure.ButtonStartLearnClick();
    EXPECT_EQ(std::filesystem::exists(bench.Folder.Path / "Acme_TV1.IRD"), c.Saved) << c.What;
    EXPECT_EQ(bench.Procedure.State().LearnSaved, c.Saved) << c.What;
    EXPECT_EQ(bench.View.StartCaption, c.Saved ? "Start Learn" : "Save data") << c.What;
    EXPECT_EQ(bench.View.Lines.back() == "*****END*****", c.Saved) << c.What;
    EXPECT_EQ(!bench.View.Messages.empty(), c.WriteFails) << c.What;
    if (c.WriteFails) {
      EXPECT_TRUE(bench.View.Messages[0].starts_with("The data are not saved: "));
    }
    bench.Procedure.FormClose();
    EXPECT_EQ(bench.Settings.KeysDelay, c.Saved ? 1 : 50) << c.What;
  }
}

TEST(LearningProcedure, AnyButtonStartsLearningButNeverSaves) {
  LearningBench bench;
  bench.Procedure.EdgeWhileReceptionOff();
  EXPECT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::SignalLengthTest);
  bench.StartTraining();
  bench.Presses(Lines(5, A));
  bench.Remember("Power");
  bench.Procedure.EdgeWhileReceptionOff();
  EXPECT_FALSE(std::filesystem::exists(bench.Folder.Path / "Acme_TV1.IRD"));
}

TEST(LearningProcedure, TrainingBeginsAfterTheButtonIsReleased) {
  LearningBench bench;
  std::vector<std::pair<bool, std::int64_t>> clearAll;
  bench.View.OnEnable = [&](LearningControl control, bool enabled) {
    if (control == LearningControl::Button3) clearAll.emplace_back(enabled, bench.Clock.Counter());
  };
  bench.StartTraining();
  ASSERT_EQ(clearAll.size(), 3U);
  EXPECT_FALSE(clearAll[1].first);
  EXPECT_EQ(clearAll[2].second - clearAll[1].second, 500 * platform::CounterTicksPerMillisecond);
  EXPECT_FALSE(bench.Pipeline.ReceiveEnabled);
  bench.Loop.AdvanceBy(LearningProcedure::TrainingHoldOffMs);
  EXPECT_TRUE(bench.Pipeline.ReceiveEnabled);
  EXPECT_EQ(bench.View.Tail(6), (Lines{"", "", "***** BEGINNING OF TRAINING*****", "",
                                       "Please press the button №1 five(5) times running", ""}));
}

}  // namespace
}  // namespace quillon
