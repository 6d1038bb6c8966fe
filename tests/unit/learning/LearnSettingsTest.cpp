#include "core/learning/LearnSettings.h"

#include <gtest/gtest.h>

#include "core/shell/Settings.h"
#include "platform/fake/FakeRegistry.h"

namespace quillon {
namespace {

TEST(LearnSettings, NamesAndPortRoundTripUnderTheListRules) {
  platform::FakeRegistry registry;
  const std::string key(LearningKey);
  registry.SetValue(key, "COM", std::string("COM3"));
  registry.SetValue(key, "Key Numbers", std::string("5"));
  registry.SetValue(key, "Key Name #0", std::string("VOLUME+"));
  registry.SetValue(key, "Key Name #1", std::string(" LEADING"));
  registry.SetValue(key, "Key Name #2", std::string("volume+"));
  registry.SetValue(key, "Key Name #3", std::string("ЗВУК"));
  // "Key Name #4" is missing: reading stops there.

  LearnSettings settings = LoadLearnSettings(registry);
  EXPECT_EQ(settings.ComPort, 3);
  EXPECT_EQ(settings.ButtonNames.Items(), (std::vector<std::string>{"VOLUME+", "ЗВУК"}));

  settings.ComPort = 2;
  settings.ButtonNames.Add("MUTE");
  ASSERT_TRUE(SaveLearnSettings(registry, settings));
  const LearnSettings again = LoadLearnSettings(registry);
  EXPECT_EQ(again.ComPort, 2);
  EXPECT_EQ(again.ButtonNames.Items(), (std::vector<std::string>{"MUTE", "VOLUME+", "ЗВУК"}));
  EXPECT_EQ(registry.Value(key, "Key Numbers"), platform::FakeRegistryValue(std::string("3")));
}

}  // namespace
}  // namespace quillon
