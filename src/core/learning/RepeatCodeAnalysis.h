#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/common/Language.h"
#include "core/learning/RemoteData.h"
#include "core/learning/RepeatFrameAnalysis.h"
#include "core/receiver/PulseTrain.h"

namespace quillon {

// What one burst of the hold-button test gives the learning window: its log lines, and
// whether the test is over (training begins then).
struct HoldButtonStep {
  std::vector<std::string> Log;
  bool Finished = false;
};

// One burst of the hold-button test with a receiver timed by the program: records the train,
// logs the press, and after the tenth press stores the repeat frame found in `remote` and logs
// the verdict. `pressCounter` numbers the presses from 1.
HoldButtonStep RepeatCodeAnalysis(TrainTable& trains, const PulseTrain& train,
                                  const std::string& code, std::uint8_t& pressCounter,
                                  RemoteData& remote, std::int32_t maxValueError,
                                  LanguageFlag language);

}  // namespace quillon
