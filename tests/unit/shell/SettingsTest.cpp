#include "core/shell/Settings.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/fake/FakeRegistry.h"

namespace quillon {
namespace {

using platform::FakeRegistry;
using platform::FakeRegistryValue;

TEST(Settings, OnlyTheFourthCharacterOfComNamesThePort) {
  const struct {
    const char* Stored;
    std::int32_t Port;
  } cases[] = {
      {"COM1", 1}, {"COM3", 3}, {"COM4", 4}, {"COM12", 1}, {"COM2x", 2}, {"XYZ3", 3},
      {"COM", 1},  {"", 1},     {"COM0", 1}, {"COM5", 1},  {"COM9", 1},  {"COM-", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComPortNumber(c.Stored), c.Port) << c.Stored;
  }
  EXPECT_EQ(ComPortName(4), "COM4");
  EXPECT_THROW(ComPortName(5), std::out_of_range);
}

TEST(Settings, EachSideReadsAndWritesItsOwnPort) {
  FakeRegistry registry;
  EXPECT_EQ(ReadComPort(registry, settings::Com), 1);
  registry.SetValue(LearningKey, "COM", std::uint32_t{3});  // another type
  EXPECT_EQ(ReadComPort(registry, settings::LearningCom), 1);

  ASSERT_TRUE(WriteComPort(registry, settings::Com, 3));
  ASSERT_TRUE(WriteComPort(registry, settings::LearningCom, 2));
  EXPECT_EQ(registry.Value(ProductKey, "COM"), FakeRegistryValue{"COM3"});
  EXPECT_EQ(ReadComPort(registry, settings::Com), 3);
  EXPECT_EQ(ReadComPort(registry, settings::LearningCom), 2);
}

TEST(Settings, SingleValuesReadDefaultsAndClampAndTheirWritesReport) {
  FakeRegistry registry;
  registry.SetValue(ProductKey, "Language", std::uint32_t{5});
  registry.SetValue(ProductKey, "VolumeStep", std::uint32_t{0});
  registry.SetValue(ProductKey, "BalanceStep", "20");
  registry.SetValue(VendorKey, "doubleclick", std::uint32_t{1});  // names ignore case
  const struct {
    const IntegerSetting& Setting;
    std::int32_t Expected;
  } integers[] = {{settings::Language, 1}, {settings::VolumeStep, 1}, {settings::BalanceStep, 10}};
  for (const auto& c : integers) EXPECT_EQ(ReadValue(registry, c.Setting), c.Expected);

  const struct {
    const BoolSetting& Setting;
    bool Expected;
  } flags[] = {{settings::DoubleClick, true},
               {settings::HotKeysEnabled, true},
               {settings::ShowFullWindow, true},
               {settings::HotKeysEnabledKeys, false},
               {settings::SensWhitSendKeys, false}};
  for (const auto& c : flags) EXPECT_EQ(ReadValue(registry, c.Setting), c.Expected);
  EXPECT_EQ(ReadValue(registry, settings::FileName), "");

  ASSERT_TRUE(WriteValue(registry, settings::FileName, "/home/іван/пульт.cfg"));
  EXPECT_EQ(ReadValue(registry, settings::FileName), "/home/іван/пульт.cfg");

  registry.MakeUnopenable(VendorKey);
  EXPECT_TRUE(ReadValue(registry, settings::HotKeysEnabled));
  EXPECT_FALSE(ReadValue(registry, settings::DoubleClick));  // the default, not the stored yes
  EXPECT_FALSE(WriteValue(registry, settings::ShowFullWindow, false));
}

TEST(Settings, TheStartUpEntryIsWrittenAndDeleted) {
  FakeRegistry registry;
  EXPECT_EQ(ReadValue(registry, settings::Brumcot), "");
  ASSERT_TRUE(WriteValue(registry, settings::Brumcot, "/usr/bin/quillon"));
  EXPECT_EQ(registry.Value("\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Brumcot"),
            FakeRegistryValue{"/usr/bin/quillon"});
  ASSERT_TRUE(DeleteValue(registry, settings::Brumcot));
  EXPECT_EQ(registry.ValueCount(RunKey), 0U);
  EXPECT_EQ(ReadValue(registry, settings::Brumcot), "");
}

TEST(Settings, KeyNamesFollowTheirCountAndStopAtTheFirstGap) {
  const struct {
    FakeRegistryValue Count;
    std::vector<std::string> Stored;  // as "Key Name #0" onwards; "-" leaves a gap
    std::vector<std::string> Expected;
  } cases[] = {
      {"3", {"Звук +", "Power", "Mute"}, {"Звук +", "Power", "Mute"}},
      {"2", {"a", "b", "c"}, {"a", "b"}},
      {"4", {"a", "b", "-", "d"}, {"a", "b"}},
      {"abc", {"a", "b"}, {}},
      {"2x", {"a", "b"}, {}},
      {"-1", {"a"}, {}},
      {"", {"a"}, {}},
      {std::uint32_t{2}, {"a", "b"}, {}},  // a count of another type counts 0
  };
  for (const auto& c : cases) {
    FakeRegistry registry;
    registry.SetValue(LearningKey, "Key Numbers", c.Count);
    for (std::size_t i = 0; i < c.Stored.size(); ++i) {
      if (c.Stored[i] != "-") {
        registry.SetValue(LearningKey, "Key Name #" + std::to_string(i), c.Stored[i]);
      }
    }
    EXPECT_EQ(ReadKeyNames(registry), c.Expected) << c.Stored.size();
  }
}

TEST(Settings, WritingKeyNamesStoresTheCountAndDropsLeftovers) {
  FakeRegistry registry;
  ASSERT_TRUE(WriteKeyNames(registry, {"1", "2", "3", "4"}));
  ASSERT_TRUE(WriteKeyNames(registry, {"Канал +", "Канал -"}));
  EXPECT_EQ(registry.Value(LearningKey, "Key Numbers"), FakeRegistryValue{"2"});
  EXPECT_EQ(registry.ValueCount(LearningKey), 3U);
  EXPECT_EQ(ReadKeyNames(registry), (std::vector<std::string>{"Канал +", "Канал -"}));
}

}  // namespace
}  // namespace quillon
