#include "core/learning/LearnSettings.h"

#include "core/shell/Settings.h"

namespace quillon {

LearnSettings LoadLearnSettings(platform::Registry& registry) {
  LearnSettings settings;
  settings.ComPort = ReadComPort(registry, settings::LearningCom);
  for (const std::string& name : ReadKeyNames(registry)) settings.ButtonNames.Add(name);
  return settings;
}

Result<Done> SaveLearnSettings(platform::Registry& registry, const LearnSettings& settings) {
  auto port = WriteComPort(registry, settings::LearningCom, settings.ComPort);
  if (!port) return port;
  return WriteKeyNames(registry, settings.ButtonNames.Items());
}

}  // namespace quillon
