#include "core/learning/RepeatCodeAnalysis.h"

namespace quillon {

namespace {

constexpr std::uint8_t Presses = 10;

constexpr BilingualText OfTen{" at 10", " от 10"};
constexpr BilingualText SpecialRepeatCode{"This is a remote with special repeat code.",
                                          "Това дистанционно има специален код за повторение."};
constexpr BilingualText NoSpecialRepeatCode{"This is a remote with no special repeat code.",
                                            "Това дистанционно няма специален код за повторение."};

}  // namespace

HoldButtonStep RepeatCodeAnalysis(TrainTable& trains, const PulseTrain& train,
                                  const std::string& code, std::uint8_t& pressCounter,
                                  RemoteData& remote, std::int32_t maxValueError,
                                  LanguageFlag language) {
  HoldButtonStep step;
  trains.Record(train);
  step.Log.push_back("№" + std::to_string(pressCounter) + std::string(OfTen(language)) + " -> " +
                     code + " ...Ok");
  ++pressCounter;
  if (pressCounter == Presses + 1) {
    remote.Repeat = RepeatFrameAnalysis(trains, maxValueError);
    step.Log.emplace_back();
    step.Log.emplace_back(remote.Repeat.Valid == 1 ? SpecialRepeatCode(language)
                                                   : NoSpecialRepeatCode(language));
    step.Finished = true;
  }
  return step;
}

}  // namespace quillon
