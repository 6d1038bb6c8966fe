// The hold-button test, with a receiver timed by the program (bursts) or a microcontroller
// receiver (lines), and the start of training.

#include "core/common/WaitPumping.h"
#include "core/learning/LearningProcedure.h"
#include "core/learning/RepeatCodeAnalysis.h"

namespace quillon {

void LearningProcedure::RepeatCodeAnalysis(const std::string& code) {
  // With a microcontroller receiver the test takes its lines (HoldLineAnalysis).
  if (Ptk() || S.Stage != LearningStage::HoldButtonTest) return;
  const PulseTrain train(The.Pipeline.PulseBuffer, The.Pipeline.PulseCount);
  const HoldButtonStep step =
      quillon::RepeatCodeAnalysis(Trains, train, code, S.PressCounter, *The.Remote.Record,
                                  The.Settings.MaxValueError, The.Language);
  for (const std::string& line : step.Log) Log(line);
  if (step.Finished) BeginTraining();
}

void LearningProcedure::HoldLineAnalysis(const KeyLine& line) {
  if (S.Stage != LearningStage::HoldButtonTest) return;
  const PtkHoldStep step = PtkHold.TakeLine(line, *The.Remote.Record, The.Language);
  for (const std::string& text : step.Log) Log(text);
  if (!step.Finished) return;
  The.Settings.KeysDelay = step.KeyTimerInterval;
  SetKeyTimer(step.KeyTimerInterval);
  WriteSettings();
  BeginTraining();
}

void LearningProcedure::BeginTraining() {
  The.View.SetControlEnabled(LearningControl::Button2, true);
  The.View.SetControlEnabled(LearningControl::ButtonName, true);
  S.PressCounter = 1;
  The.Pipeline.ReceiveMode = ReceiveModeKind::Pause;
  The.Pipeline.ReceiveEnabled = false;
  Log();
  Log();
  Log(LearningText::EndHoldButtonTest);
  Log();
  Log();
  Log(LearningText::ReleaseTheButton);

  The.View.SetControlEnabled(LearningControl::Button3, false);
  WaitPumping(The.Loop, The.Clock, ReleaseWaitMs);
  The.View.SetControlEnabled(LearningControl::Button3, true);

  Log();
  Log();
  Log(LearningText::BeginningOfTraining);
  Log();
  Log(LearningText::TrainingPressButtonOne);
  Log();
  S.Stage = LearningStage::Training;
  The.Pipeline.HoldOff(TrainingHoldOffMs);
  The.Pipeline.ReceiveMode = ReceiveModeKind::LearnButton;
}

}  // namespace quillon
