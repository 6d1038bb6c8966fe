#include "core/learning/RepeatCodeAnalysis.h"

#include "core/learning/LearningTexts.h"

namespace quillon {

namespace {

constexpr std::uint8_t Presses = 10;

}  // namespace

HoldButtonStep RepeatCodeAnalysis(TrainTable& trains, const PulseTrain& train,
                                  const std::string& code, std::uint8_t& pressCounter,
                                  RemoteData& remote, std::int32_t maxValueError,
                                  LanguageFlag language) {
  HoldButtonStep step;
  trains.Record(train);
  step.Log.push_back("№" + std::to_string(pressCounter) +
                     std::string(Text(LearningText::PressOfTen, language)) + " -> " + code +
                     " ...Ok");
  ++pressCounter;
  if (pressCounter == Presses + 1) {
    remote.Repeat = RepeatFrameAnalysis(trains, maxValueError);
    step.Log.emplace_back();
    step.Log.emplace_back(Text(remote.Repeat.Valid == 1 ? LearningText::SpecialRepeatCode
                                                        : LearningText::NoSpecialRepeatCode,
                               language));
    step.Finished = true;
  }
  return step;
}

}  // namespace quillon
