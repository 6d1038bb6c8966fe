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

TEST(LearnSettings, ThePortChoiceTakesOnlyTheOfferedPorts) {
  struct Case {
    std::int32_t Shown;
    bool Taken;
    std::int32_t Port;
  };
  // 0 comes while a search goes on; ports above COM4 are found but offered by no item.
  for (const Case& c : std::vector<Case>{
           {1, true, 1}, {4, true, 4}, {0, false, 2}, {5, false, 2}, {-1, false, 2}}) {
    LearnSettings settings;
    settings.ComPort = 2;
    EXPECT_EQ(TakeLearningPort(settings, c.Shown), c.Taken) << c.Shown;
    EXPECT_EQ(settings.ComPort, c.Port) << c.Shown;
    // The port kept can always be written ("COM1" to "COM4").
    platform::FakeRegistry registry;
    EXPECT_TRUE(SaveLearningPort(registry, settings)) << c.Shown;
  }
}

TEST(LearnSettings, SavingThePortWritesTheLearningSidesComAlone) {
  platform::FakeRegistry registry;
  LearnSettings settings;
  settings.ButtonNames.Add("MUTE");
  ASSERT_TRUE(TakeLearningPort(settings, 4));
  ASSERT_TRUE(SaveLearningPort(registry, settings));
  EXPECT_EQ(registry.Value(LearningKey, "COM"), platform::FakeRegistryValue(std::string("COM4")));
  EXPECT_EQ(registry.ValueCount(LearningKey), 1U);  // the names wait for the window to close
  EXPECT_FALSE(registry.Value(ProductKey, "COM"));  // the configuration side's port is its own
  EXPECT_EQ(LoadLearnSettings(registry).ComPort, 4);
}

}  // namespace
}  // namespace quillon
