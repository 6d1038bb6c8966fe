// The program's command path end to end on a real desktop: quillon-tool dispatches a press of
// the sample remote through the sample configuration and executes it, and the key string
// reaches a real client titled as the configuration's root names it.

#include <cstdlib>

#include "X11Fixture.h"

namespace quillon::test {
namespace {

using DispatchToolTest = X11Fixture;

TEST_F(DispatchToolTest, APressTypesItsKeyStringIntoTheConfiguredWindow) {
  const Client& client = StartClient("Media Player");
  const std::filesystem::path samples = std::filesystem::path(QUILLON_SOURCE_DIR) / "samples";
  // Key 6 of the sample configuration sends ^{[Right]} to "Media Player".
  const std::string command = "env XDG_CONFIG_HOME='" + Scratch.Path().string() + "' '" +
                              QUILLON_TOOL + "' dispatch --execute --remote '" +
                              (samples / "remotes/Vizio_VX32L.IRD").string() + "' --config '" +
                              (samples / "remotes/Living room.rir").string() + "' 6 > '" +
                              (Scratch.Path() / "out.txt").string() + "' 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(Received(client, 1), std::vector<std::string>{"key C-Right"});
}

}  // namespace
}  // namespace quillon::test
