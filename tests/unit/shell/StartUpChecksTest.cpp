#include "core/shell/StartUpChecks.h"

#include <gtest/gtest.h>

#include "actions/FakeMessageBoxes.h"
#include "platform/fake/FakeSerialPorts.h"

namespace quillon {
namespace {

using platform::PortStatus;
using Port = platform::FakeSerialPorts::Port;

TEST(StartUpChecks, TheFreePortCheckEndsTheProgramOnlyWithoutAFreePort) {
  struct Case {
    std::vector<Port> Ports;
    std::int32_t Highest;
  };
  const Case cases[] = {
      {{{"/dev/ttyS0", PortStatus::Free}, {"/dev/ttyS1", PortStatus::Free}}, 2},
      {{{"/dev/ttyS0", PortStatus::Free}, {"/dev/ttyS1", PortStatus::Absent}}, 1},
      {{{"/dev/ttyS0", PortStatus::Busy}, {"/dev/ttyS1", PortStatus::Absent}}, 0},
      {{}, 0},
  };
  for (const Case& c : cases) {
    for (const LanguageFlag language : {English, Bulgarian}) {
      platform::FakeSerialPorts ports(c.Ports);
      test::FakeMessageBoxes boxes;
      EXPECT_EQ(CheckFreePort(ports, boxes, language), c.Highest);
      if (c.Highest > 0) {
        EXPECT_TRUE(boxes.Shown.empty());
        continue;
      }
      ASSERT_EQ(boxes.Shown.size(), 1u);
      EXPECT_EQ(boxes.Shown[0].Text,
                language == English ? "No free COM port !!!" : "Не е открит свободен COM порт !!!");
      EXPECT_EQ(boxes.Shown[0].Icon, MessageIcon::Error);
    }
  }
}

TEST(StartUpChecks, TheScreenCheckAsksBelow800By600AndDropsTheFullWindowBelow1024By768) {
  struct Case {
    platform::ScreenSize Screen;
    MessageAnswer Answer;
    bool Asked;
    ScreenVerdict Verdict;
  };
  const Case cases[] = {
      {{1024, 768}, MessageAnswer::No, false, {true, true}},
      {{1023, 768}, MessageAnswer::No, false, {true, false}},
      {{1280, 767}, MessageAnswer::No, false, {true, false}},
      {{800, 600}, MessageAnswer::No, false, {true, false}},
      {{799, 600}, MessageAnswer::No, true, {false, false}},
      {{800, 599}, MessageAnswer::Yes, true, {true, false}},
      {{0, 0}, MessageAnswer::Yes, true, {true, false}},
  };
  for (const Case& c : cases) {
    test::FakeMessageBoxes boxes;
    boxes.Answers = {c.Answer};
    EXPECT_EQ(CheckScreen(c.Screen, boxes, English), c.Verdict)
        << c.Screen.Width << "x" << c.Screen.Height;
    EXPECT_EQ(boxes.Shown.size(), c.Asked ? 1u : 0u);
  }
  test::FakeMessageBoxes boxes;
  CheckScreen({640, 480}, boxes, Bulgarian);
  ASSERT_EQ(boxes.Shown.size(), 1u);
  EXPECT_TRUE(boxes.Shown[0].Text.starts_with("Минималните изисквания"));
}

}  // namespace
}  // namespace quillon
