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

// The learning window's port choice shows `port` (the receiver's port, or the user's click).
// A port the choice offers becomes the learning side's port; any other (0 during a search, a
// port above COM4) ticks no item and leaves the stored port as it was. True when taken.
bool TakeLearningPort(LearnSettings& settings, std::int32_t port);

// Writes the port alone, as when the port choice loses the focus.
Result<Done> SaveLearningPort(platform::Registry& registry, const LearnSettings& settings);

}  // namespace quillon
