// Choosing a receiver by the name the command line gives it.

#include "core/receiver/ReceiverChoice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/FakeIrDevice.h"
#include "replay/CaptureReplay.h"

namespace quillon {
namespace {

struct ChoiceFixture : ::testing::Test {
  ChoiceFixture() {
    Device.AddFile("presses.irc", "56400 56400\n");
    Device.AddDevice("/dev/lirc0");
    Device.AddFile("with:colon", "pulse 560\n");
  }
  Result<std::unique_ptr<Receiver>> Create(std::string_view choice) {
    return CreateReceiver(choice, Bench.Pipeline, Bench.Loop, Bench.Clock, Device, {});
  }
  ReplayBench Bench;
  platform::FakeIrDevice Device{Bench.Loop, Bench.Clock};
};

TEST_F(ChoiceFixture, NamesAReplayOrAKernelIrReceiverAndItsInput) {
  const struct {
    const char* Choice;
    bool Replay;
    const char* Opened;
  } cases[] = {
      {"replay:presses.irc", true, "presses.irc"},
      {"lirc:/dev/lirc0", false, "/dev/lirc0"},
      {"lirc:with:colon", false, "with:colon"},
  };
  for (const auto& c : cases) {
    auto created = Create(c.Choice);
    ASSERT_TRUE(created) << created.ErrorMessage();
    Receiver& receiver = *created.Value();
    EXPECT_EQ(dynamic_cast<ReplayReceiver*>(&receiver) != nullptr, c.Replay) << c.Choice;
    EXPECT_EQ(dynamic_cast<LircReceiver*>(&receiver) != nullptr, !c.Replay) << c.Choice;
    EXPECT_TRUE(Device.Opens().empty() || Device.Opens().back() != c.Opened);  // not yet
    ASSERT_TRUE(receiver.Start());
    EXPECT_EQ(Device.Opens().back(), c.Opened);
    receiver.Stop();
  }
}

TEST_F(ChoiceFixture, AnythingElseIsAClearError) {
  const struct {
    const char* Choice;
    const char* Error;
  } cases[] = {
      {"serial:COM1", "\"serial:COM1\" names no receiver: use replay:FILE or lirc:DEVICE"},
      {"replay", "\"replay\" names no receiver: use replay:FILE or lirc:DEVICE"},
      {"", "\"\" names no receiver: use replay:FILE or lirc:DEVICE"},
      {"replay:", "\"replay:\" names no file"},
      {"lirc:", "\"lirc:\" names no device"},
  };
  for (const auto& c : cases) {
    const auto created = Create(c.Choice);
    ASSERT_FALSE(created) << c.Choice;
    EXPECT_EQ(created.ErrorMessage(), c.Error);
  }
}

}  // namespace
}  // namespace quillon
