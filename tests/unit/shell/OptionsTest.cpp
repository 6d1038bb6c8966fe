#include "core/shell/Options.h"

#include <gtest/gtest.h>

#include "platform/fake/FakeRegistry.h"

namespace quillon {
namespace {

using platform::FakeRegistry;
using platform::FakeRegistryValue;

TEST(Options, FirstRunCreatesTheProductKeyWithEveryDefault) {
  FakeRegistry registry;
  const Options read = ReadOptions(registry);
  EXPECT_EQ(read, Options{});
  EXPECT_TRUE(registry.HasKey(ProductKey));
  ASSERT_TRUE(WriteOptions(registry, read));

  const struct {
    const char* Name;
    std::uint32_t Stored;
  } cases[] = {
      {"StartTime", 5},         {"CloseTime", 1},      {"StartApplication", 5},
      {"StartWindow(s)", 3},    {"SignalLength", 250}, {"ImpulseNumber", 500},
      {"KeysDelay", 1},         {"MouseStep", 50},     {"ShowHint", 1},
      {"ShowUnknownButton", 0}, {"LookForPTK", 1},     {"CPUSpeedWarning", 1},
      {"ShowHintTime", 2},      {"StartError", 20},    {"MaxValueError", 30},
      {"ImpulseDiv", 3},        {"DifferentImp", 3},
  };
  EXPECT_EQ(registry.ValueCount(ProductKey), std::size(cases));
  for (const auto& c : cases) {
    EXPECT_EQ(registry.Value(ProductKey, c.Name), FakeRegistryValue{c.Stored}) << c.Name;
  }
}

TEST(Options, ValuesMissingOrOfAnotherTypeReadAsTheirDefault) {
  FakeRegistry registry;
  registry.SetValue(ProductKey, "SignalLength", "300");
  registry.SetValue(ProductKey, "StartError", "");
  registry.SetValue(ProductKey, "ShowHint", "0");
  registry.SetValue(ProductKey, "ShowUnknownButton", "1");
  registry.SetValue(ProductKey, "LookForPTK", std::uint32_t{0});
  registry.SetValue(ProductKey, "CPUSpeedWarning", std::uint32_t{7});
  const Options options = ReadOptions(registry);
  EXPECT_EQ(options.SignalLength, 250);
  EXPECT_EQ(options.StartError, 20);
  EXPECT_EQ(options.ImpulseNumber, 500);
  EXPECT_TRUE(options.ShowHint);
  EXPECT_FALSE(options.ShowUnknownButton);
  EXPECT_FALSE(options.LookForPTK);      // stored 0
  EXPECT_TRUE(options.CPUSpeedWarning);  // any number but 0 is yes
}

TEST(Options, NumbersOutOfRangeReadAsTheNearestBound) {
  const struct {
    const char* Name;
    std::uint32_t Stored;
    std::int32_t Options::*Field;
    std::int32_t Expected;
  } cases[] = {
      {"SignalLength", 49, &Options::SignalLength, 50},
      {"SignalLength", 501, &Options::SignalLength, 500},
      {"ImpulseNumber", 99, &Options::ImpulseNumber, 100},
      {"KeysDelay", 0, &Options::KeysDelay, 1},
      {"KeysDelay", 301, &Options::KeysDelay, 300},
      {"MouseStep", 9, &Options::MouseStep, 10},
      {"StartTime", 11, &Options::StartTime, 10},
      {"CloseTime", 0, &Options::CloseTime, 1},
      {"StartWindow(s)", 0x80000000, &Options::StartWindows, 1},  // negative as signed
      {"StartApplication", 10, &Options::StartApplication, 10},
      {"ShowHintTime", 6, &Options::ShowHintTime, 5},
      {"StartError", 61, &Options::StartError, 60},
      {"MaxValueError", 19, &Options::MaxValueError, 20},
      {"ImpulseDiv", 0xFFFFFFFF, &Options::ImpulseDiv, 0},
      {"DifferentImp", 1, &Options::DifferentImp, 2},
      {"DifferentImp", 5, &Options::DifferentImp, 4},
  };
  for (const auto& c : cases) {
    FakeRegistry registry;
    registry.SetValue(ProductKey, c.Name, c.Stored);
    EXPECT_EQ(ReadOptions(registry).*c.Field, c.Expected) << c.Name << " " << c.Stored;
  }
}

TEST(Options, ValuesWrittenReadBackAndWritesAreClamped) {
  FakeRegistry registry;
  Options options;
  options.SignalLength = 120;
  options.KeysDelay = 45;
  options.ShowHint = false;
  options.DifferentImp = 4;
  ASSERT_TRUE(WriteOptions(registry, options));
  EXPECT_EQ(ReadOptions(registry), options);

  options.ImpulseNumber = 9999;
  ASSERT_TRUE(WriteOptions(registry, options));
  EXPECT_EQ(registry.Value(ProductKey, "ImpulseNumber"), FakeRegistryValue{std::uint32_t{500}});
}

TEST(Options, WithoutTheProductKeyImpulseDivReadsTwoAndNothingIsWritten) {
  FakeRegistry registry;
  registry.MakeUnopenable(ProductKey);
  Options expected;
  expected.ImpulseDiv = 2;
  const Options options = ReadOptions(registry);
  EXPECT_EQ(options, expected);
  EXPECT_TRUE(IsChanged(options, MarkedOption::ImpulseDiv));
  EXPECT_FALSE(WriteOptions(registry, options));
  EXPECT_FALSE(registry.HasKey(ProductKey));
  EXPECT_EQ(registry.Saves(), 0);
}

TEST(Options, AFailingSaveIsReportedAndChangesNothing) {
  FakeRegistry registry;
  ASSERT_TRUE(WriteOptions(registry, Options{}));
  registry.FailSaves(true);
  Options changed;
  changed.MouseStep = 200;
  EXPECT_FALSE(WriteOptions(registry, changed));
  EXPECT_EQ(ReadOptions(registry), Options{});
}

TEST(Options, DefaultRestoresEveryValueKeysDelayIncluded) {
  Options options{1, 2, 3, 4, 60, 200, 250, 100, false, true, false, false, 4, 40, 35, 0, 2};
  SetDefaults(options);
  EXPECT_EQ(options, Options{});
  EXPECT_EQ(options.KeysDelay, 1);
}

TEST(Options, ALabelIsRedExactlyWhileItsValueDiffersFromTheDefault) {
  const struct {
    MarkedOption Mark;
    std::int32_t Options::*Field;
    std::int32_t Default;
    std::int32_t Other;
  } cases[] = {
      {MarkedOption::StartTime, &Options::StartTime, 5, 6},
      {MarkedOption::CloseTime, &Options::CloseTime, 1, 2},
      {MarkedOption::StartApplication, &Options::StartApplication, 5, 1},
      {MarkedOption::StartWindows, &Options::StartWindows, 3, 4},
      {MarkedOption::SignalLength, &Options::SignalLength, 250, 251},
      {MarkedOption::ImpulseNumber, &Options::ImpulseNumber, 500, 499},
      {MarkedOption::MouseStep, &Options::MouseStep, 50, 10},
      {MarkedOption::ShowHintTime, &Options::ShowHintTime, 2, 1},
      {MarkedOption::StartError, &Options::StartError, 20, 21},
      {MarkedOption::MaxValueError, &Options::MaxValueError, 30, 40},
      {MarkedOption::ImpulseDiv, &Options::ImpulseDiv, 3, 2},
      {MarkedOption::DifferentImp, &Options::DifferentImp, 3, 2},
  };
  Options keysDelayOnly;
  keysDelayOnly.KeysDelay = 100;  // KeysDelay carries no mark
  for (const auto& c : cases) {
    Options options;
    EXPECT_EQ(options.*c.Field, c.Default);
    options.*c.Field = c.Other;
    for (const auto& other : cases) {
      EXPECT_EQ(IsChanged(options, other.Mark), other.Mark == c.Mark)
          << static_cast<int>(c.Mark) << " " << static_cast<int>(other.Mark);
    }
    EXPECT_FALSE(IsChanged(keysDelayOnly, c.Mark));
  }
}

TEST(Options, TheReceivePipelineTakesItsFiveOptions) {
  Options options;
  options.SignalLength = 100;
  options.ImpulseNumber = 300;
  options.MaxValueError = 25;
  options.StartError = 40;
  options.DifferentImp = 4;
  const ReceiveSettings receive = ToReceiveSettings(options);
  EXPECT_EQ(receive.SignalLength, 100);
  EXPECT_EQ(receive.ImpulseNumber, 300);
  EXPECT_EQ(receive.Decoder.MaxValueError, 25);
  EXPECT_EQ(receive.Decoder.StartError, 40);
  EXPECT_EQ(receive.Decoder.DifferentImp, 4);
}

}  // namespace
}  // namespace quillon
