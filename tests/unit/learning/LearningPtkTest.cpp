// Learning through a microcontroller receiver: its lines on a fake port, its start-up answered
// by a script.

#include <gtest/gtest.h>

#include <algorithm>

#include "LearningBench.h"

namespace quillon {
namespace {

using Lines = std::vector<std::string>;

using test::KeyA;
using test::PtkBench;

const std::string RepeatLine = "Z2";  // a repeat frame: two values, 90 and 50

TEST(LearningWithPtk, TheReceiverIsRetunedToTheRemoteAndMeasuresTheKeyTime) {
  PtkBench bench;
  bench.Procedure.ButtonStartLearnClick();
  for (int press = 0; press < 5; ++press) bench.Send(KeyA);
  EXPECT_EQ(bench.Remote.Record->NominalLength, 6);
  EXPECT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::Pause);
  EXPECT_EQ(bench.View.ProgressLines, Lines{"Please press the button №1 five(5) times running"});
  EXPECT_FALSE(bench.View.WindowEnabled);

  bench.AnswerStartUp('\\');  // the threshold byte 82, plus 10
  for (int press = 0; press < 5; ++press) bench.Send(KeyA);
  EXPECT_EQ(bench.View.ProgressLines.size(), 7U);
  EXPECT_EQ(bench.View.ProgressLines[5], "№5 -> 010001 ....Ok");
  EXPECT_EQ(bench.Device.Written(), "RX>SpRX>T\\RX>St");
  EXPECT_EQ(bench.View.ProgressCloses, 1);
  EXPECT_TRUE(bench.View.WindowEnabled);
  EXPECT_TRUE(bench.Logged("Receiver...Ok"));
  EXPECT_TRUE(bench.Logged("or press the button №1 five(5) times running."));
  EXPECT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::ReceiverReadyTest);

  bench.Loop.AdvanceBy(LearningProcedure::HoldTestHoldOffMs);
  bench.Send(KeyA, 108);
  for (int line = 0; line < 9; ++line) bench.Send(RepeatLine, 108);
  EXPECT_EQ(bench.Remote.Record->Repeat.Valid, 1);
  EXPECT_EQ(bench.Settings.KeysDelay, 35);  // 40 % of 108 ms, less 20 % for the repeat frames
  EXPECT_EQ(bench.ReceiverOptions.KeysDelay, 35);
  EXPECT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::LearnButton);

  bench.Loop.AdvanceBy(LearningProcedure::TrainingHoldOffMs);
  bench.Send(KeyA, 100);
  bench.Send(":" + std::string(20, '+'), 100);  // outside the length window: dropped silently
  EXPECT_EQ(bench.View.Boxes[0], "010001");
  EXPECT_EQ(bench.View.Lines.back(), "№1 -> 010001 ...Ok");
}

TEST(LearningWithPtk, AReceiverThatCannotBeRetunedEndsTheProgram) {
  PtkBench bench;
  bench.Procedure.ButtonStartLearnClick();
  for (int press = 0; press < 10; ++press) bench.Send(KeyA);
  EXPECT_EQ(bench.View.Messages, Lines{"Error in receiver!\r\nRestart Quillon."});
  EXPECT_TRUE(bench.View.Ended);
  EXPECT_EQ(bench.View.ProgressCloses, 1);
}

TEST(LearningWithPtk, ClearAllRestartsTheReceiverWithABlankT) {
  for (const bool answering : {true, false}) {
    PtkBench bench;
    bench.Procedure.ButtonStartLearnClick();
    bench.Send(KeyA);
    if (answering) bench.AnswerStartUp(' ');
    bench.Procedure.Button3Click();
    EXPECT_EQ(bench.View.Hints.front(), "Restarting...");
    EXPECT_TRUE(bench.Device.Written().starts_with("RX>SpRX>T "));
    EXPECT_TRUE(bench.View.WindowEnabled);
    // A restarted receiver begins the test afresh; otherwise the test goes on where it was.
    EXPECT_EQ(bench.Procedure.State().PressCounter, answering ? 1 : 2);
    EXPECT_EQ(bench.View.Lines.back(), answering ? "" : "Restart receiver...");
  }
}

}  // namespace
}  // namespace quillon
