#pragma once

#include <cstdint>

#include "core/common/Result.h"
#include "core/learning/RemoteFile.h"
#include "platform/Registry.h"

namespace quillon {

// What the learning window keeps in the settings store: its serial port and the button names
// offered in its name box.
struct LearnSettings {
  std::int32_t ComPort = 1;
  UniqueNameList ButtonNames;
};

// Reads the port and the stored names, each name added under the list's rules.
LearnSettings LoadLearnSettings(platform::Registry& registry);

// Writes the port first, then the count of names and every name.
Result<Done> SaveLearnSettings(platform::Registry& registry, const LearnSettings& settings);

}  // namespace quillon
