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
  auto port = SaveLearningPort(registry, settings);
  if (!port) return port;
  return WriteKeyNames(registry, settings.ButtonNames.Items());
}

bool TakeLearningPort(LearnSettings& settings, std::int32_t port) {
  if (port < FirstComPort || port > LastComPort) return false;
  settings.ComPort = port;
  return true;
}

Result<Done> SaveLearningPort(platform::Registry& registry, const LearnSettings& settings) {
  return WriteComPort(registry, settings::LearningCom, settings.ComPort);
}

}  // namespace quillon
