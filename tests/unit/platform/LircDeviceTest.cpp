// The Linux IR input on real files, pipes and character devices. No kernel IR device is
// needed: a recording and a pipe are read as the device would be, and a character device that
// is no IR device is refused.

#include "platform/linux/LircDevice.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/PollEventLoop.h"

namespace quillon::platform {
namespace {

namespace fs = std::filesystem;

struct LircDeviceFixture : ::testing::Test {
  // Runs the loop until `done` holds, for at most two seconds.
  bool PumpUntil(const std::function<bool()>& done) {
    for (int round = 0; round < 200 && !done(); ++round) {
      loop.RunUntil(clock.TickCount() + 10);
    }
    return done();
  }

  IrInputHandlers Handlers() {
    IrInputHandlers handlers;
    handlers.DataRead = [this](std::int64_t counter, const std::string& read) {
      counters.push_back(counter);
      bytes += read;
    };
    handlers.Ended = [this](const Result<Done>& end) {
      ends.push_back(end ? "done" : end.ErrorMessage());
    };
    return handlers;
  }

  LinuxClock clock;
  PollEventLoop loop{clock};
  LircDevice device{loop, clock};
  std::string bytes;
  std::vector<std::int64_t> counters;
  std::vector<std::string> ends;
};

TEST_F(LircDeviceFixture, ReadsARecordingToItsEnd) {
  const fs::path sample = fs::path(QUILLON_SOURCE_DIR) / "samples" / "mode2" / "Vizio_VX32L.lirc";
  const std::string content = test::ReadFile(sample);
  ASSERT_FALSE(content.empty());

  const std::int64_t before = clock.Counter();
  const auto opened = device.Open(sample.string(), Handlers());
  ASSERT_TRUE(opened) << opened.ErrorMessage();
  EXPECT_EQ(opened.Value(), IrInputKind::Recording);
  ASSERT_TRUE(PumpUntil([&] { return !ends.empty(); }));
  EXPECT_EQ(bytes, content);
  EXPECT_EQ(ends, std::vector<std::string>{"done"});
  for (const std::int64_t counter : counters) {
    EXPECT_GE(counter, before);  // read by the thread when it woke
    EXPECT_LE(counter, clock.Counter());
  }
}

TEST_F(LircDeviceFixture, ReadsAPipeAsItsWriterWritesAndEndsWhenItCloses) {
  test::TempFolder folder;
  const std::string pipe = (folder.Path / "presses").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const auto opened = device.Open(pipe, Handlers());  // no writer yet: it does not wait
  ASSERT_TRUE(opened) << opened.ErrorMessage();
  EXPECT_EQ(opened.Value(), IrInputKind::Recording);
  loop.RunUntil(clock.TickCount() + 30);
  EXPECT_TRUE(ends.empty());  // a pipe without a writer has not ended

  const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  ASSERT_EQ(::write(writer, "pulse 560\n", 10), 10);
  ASSERT_TRUE(PumpUntil([&] { return bytes == "pulse 560\n"; }));
  ASSERT_EQ(::write(writer, "space 560\n", 10), 10);
  ASSERT_TRUE(PumpUntil([&] { return bytes == "pulse 560\nspace 560\n"; }));
  EXPECT_TRUE(ends.empty());
  ::close(writer);
  ASSERT_TRUE(PumpUntil([&] { return !ends.empty(); }));
  EXPECT_EQ(ends, std::vector<std::string>{"done"});
}

TEST_F(LircDeviceFixture, ClosesPromptlyAndDeliversNothingAfterwards) {
  test::TempFolder folder;
  const std::string pipe = (folder.Path / "presses").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  ASSERT_TRUE(device.Open(pipe, Handlers()));
  const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  ASSERT_EQ(::write(writer, "late\n", 5), 5);
  ::close(writer);

  const std::int64_t before = clock.Counter();
  device.Close();  // its thread may be waiting or may have posted already
  EXPECT_LT(clock.Counter() - before, CounterTicksPerSecond);
  EXPECT_FALSE(device.IsOpen());
  loop.RunUntil(clock.TickCount() + 50);
  EXPECT_TRUE(bytes.empty());
  EXPECT_TRUE(ends.empty());
}

TEST_F(LircDeviceFixture, RefusesWhatIsNoIrInputAndSaysWhy) {
  test::TempFolder folder;
  const struct {
    std::string Path;
    std::string Error;
  } cases[] = {
      {(folder.Path / "none").string(),
       "cannot open " + (folder.Path / "none").string() + ": No such file or directory"},
      {folder.Path.string(),
       folder.Path.string() + " is neither a kernel IR device nor a recording (a file or a pipe)"},
      {"/dev/null",
       "/dev/null is no kernel IR device (it does not answer LIRC_GET_FEATURES): Inappropriate "
       "ioctl for device"},
  };
  for (const auto& c : cases) {
    const auto opened = device.Open(c.Path, Handlers());
    ASSERT_FALSE(opened) << c.Path;
    EXPECT_EQ(opened.ErrorMessage(), c.Error);
    EXPECT_FALSE(device.IsOpen());
  }
}

}  // namespace
}  // namespace quillon::platform
