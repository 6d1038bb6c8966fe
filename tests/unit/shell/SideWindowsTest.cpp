#include "core/shell/SideWindows.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(PlaceSideWindow, BesideTheMainWindowOrOverItsRightPartAndAlwaysOnTheScreen) {
  constexpr WindowRect Screen{0, 0, 1280, 1024};
  struct Case {
    const char* Name;
    WindowRect Main;
    bool FullWindow;
    WindowRect Expected;
    WindowRect Area = Screen;
  };
  const Case cases[] = {
      {"full: at the right edge", {50, 50, 800, 600}, true, {850, 50, 400, 500}},
      {"full: moved back onto the screen", {600, 50, 800, 600}, true, {880, 50, 400, 500}},
      {"not full: over the right part", {100, 50, 800, 600}, false, {500, 50, 400, 500}},
      {"not full: main window off the left edge", {-500, 50, 800, 600}, false, {0, 50, 400, 500}},
      {"too low: lifted", {50, 700, 800, 600}, true, {850, 524, 400, 500}},
      {"a screen area not at the origin",
       {100, 50, 800, 600},
       true,
       {624, 50, 400, 500},
       {24, 0, 1000, 768}},
      {"a screen smaller than the window: its corner in view",
       {0, 0, 800, 600},
       true,
       {0, 0, 400, 500},
       {0, 0, 300, 400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(PlaceSideWindow(c.Main, 400, 500, c.Area, c.FullWindow), c.Expected);
  }
}

}  // namespace
}  // namespace quillon
