#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/LinuxSerialPorts.h"
#include "platform/linux/PollEventLoop.h"
#include "platform/linux/SerialPortTable.h"
#include "platform/linux/TermiosSerialDevice.h"

namespace quillon::platform {
namespace {

// A pseudo-terminal pair: the device opens the terminal side, the test plays the receiver on
// the other.
struct PseudoTerminal {
  PseudoTerminal() {
    int terminal = -1;
    char name[256] = {};
    if (openpty(&Master, &terminal, name, nullptr, nullptr) == 0) {
      Path = name;
      ::close(terminal);
      fcntl(Master, F_SETFL, O_NONBLOCK);
    }
  }
  ~PseudoTerminal() { CloseReceiverSide(); }
  void CloseReceiverSide() {
    if (Master >= 0) ::close(Master);
    Master = -1;
  }
  void Send(const std::string& bytes) const {
    ASSERT_EQ(::write(Master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // What the device sent, waiting up to `ms` for `expected` bytes.
  std::string Receive(std::size_t expected, int ms) const {
    std::string got;
    char buffer[256];
    for (int waited = 0; got.size() < expected && waited < ms; waited += 10) {
      pollfd in{Master, POLLIN, 0};
      if (::poll(&in, 1, 10) > 0) {
        const ssize_t n = ::read(Master, buffer, sizeof buffer);
        if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
      }
    }
    return got;
  }
  int Master = -1;
  std::string Path;
};

struct SerialFixture : ::testing::Test {
  // Runs the loop until `done` holds, for at most two seconds.
  bool PumpUntil(const std::function<bool()>& done) {
    for (int round = 0; round < 200 && !done(); ++round) {
      loop.RunUntil(clock.TickCount() + 10);
    }
    return done();
  }

  LinuxClock clock;
  PollEventLoop loop{clock};
  TermiosSerialDevice device{loop, clock};
  PseudoTerminal receiver;
  std::vector<std::string> problems;
  std::vector<std::pair<std::int64_t, std::size_t>> arrivals;

  SerialHandlers Handlers() {
    SerialHandlers handlers;
    handlers.DataReceived = [this](std::int64_t counter, std::size_t count) {
      arrivals.emplace_back(counter, count);
    };
    handlers.Problem = [this](const std::string& message) { problems.push_back(message); };
    return handlers;
  }
};

TEST_F(SerialFixture, CarriesBytesBothWaysOnAPseudoTerminal) {
  ASSERT_FALSE(receiver.Path.empty());
  ASSERT_TRUE(device.Open(receiver.Path, Handlers()));
  device.Write("RX>");
  device.Write("Rt\r\n");
  EXPECT_EQ(receiver.Receive(7, 2000), "RX>Rt\r\n");

  const std::int64_t before = clock.Counter();
  receiver.Send("IR Receiver PTK1.0\r\n");
  std::string received;
  ASSERT_TRUE(PumpUntil([&] {
    received += device.ReadAll();
    return received.size() == 20 && !arrivals.empty();
  }));
  EXPECT_EQ(received, "IR Receiver PTK1.0\r\n");
  ASSERT_FALSE(arrivals.empty());
  EXPECT_GE(arrivals.front().first, before);  // read by the device's thread when it woke
  EXPECT_LE(arrivals.front().first, clock.Counter());

  // A pseudo-terminal has no modem lines: said once, and data keeps flowing.
  ASSERT_TRUE(PumpUntil([&] { return !problems.empty(); }));
  EXPECT_NE(problems.front().find("carrier detect is not supported"), std::string::npos);
  EXPECT_EQ(device.ModemStatus() & ModemRlsd, 0U);
}

TEST_F(SerialFixture, ReportsADeviceThatGoesAwayAndClosesPromptly) {
  ASSERT_TRUE(device.Open(receiver.Path, Handlers()));
  receiver.CloseReceiverSide();
  ASSERT_TRUE(PumpUntil([&] {
    for (const std::string& p : problems) {
      if (p.find("is gone") != std::string::npos) return true;
    }
    return false;
  }));
  const std::int64_t before = clock.Counter();
  device.Close();
  EXPECT_FALSE(device.IsOpen());
  EXPECT_LT(clock.Counter() - before, CounterTicksPerSecond);
}

TEST_F(SerialFixture, EventsAfterCloseAreNotDelivered) {
  ASSERT_TRUE(device.Open(receiver.Path, Handlers()));
  receiver.Send("late");
  device.Close();
  loop.RunUntil(clock.TickCount() + 50);
  EXPECT_TRUE(arrivals.empty());
  EXPECT_EQ(device.ReadAll(), "");
}

TEST_F(SerialFixture, PortsProbeFreeAbsentOrBusyAsTheDeviceWouldOpen) {
  test::TempFolder folder;
  const auto plain = folder.Path / "plain.txt";
  std::ofstream(plain) << "x";
  PseudoTerminal other;
  const LinuxSerialPorts ports(
      {receiver.Path, (folder.Path / "none").string(), plain.string(), other.Path});
  ASSERT_EQ(ports.HighestPort(), 4);
  EXPECT_EQ(ports.DevicePath(1), receiver.Path);
  EXPECT_EQ(ports.DevicePath(0), "");
  EXPECT_EQ(ports.DevicePath(5), "");

  // What is no serial device is refused.
  const auto opened = device.Open(plain.string(), Handlers());
  ASSERT_FALSE(opened);
  EXPECT_NE(opened.ErrorMessage().find("not a serial device"), std::string::npos);
  EXPECT_FALSE(device.Open((folder.Path / "none").string(), Handlers()));
  EXPECT_FALSE(device.IsOpen());

  ASSERT_TRUE(device.Open(other.Path, Handlers()));  // held unshared by this device
  const std::vector<PortStatus> expected{PortStatus::Absent, PortStatus::Free, PortStatus::Absent,
                                         PortStatus::Absent, PortStatus::Busy, PortStatus::Absent};
  for (std::int32_t port = 0; port <= 5; ++port) {
    EXPECT_EQ(ports.Status(port), expected[static_cast<std::size_t>(port)]) << "COM" << port;
  }
  // A port another device holds cannot be opened a second time.
  TermiosSerialDevice second(loop, clock);
  EXPECT_FALSE(second.Open(other.Path, Handlers()));
  device.Close();
  EXPECT_EQ(ports.Status(4), PortStatus::Free);
}

TEST(SerialPortTable, NumbersSystemPortsThenAdaptersThenExtraDevices) {
  test::TempFolder dev;
  for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyUSBx", "tty0"}) {
    std::ofstream(dev.Path / name) << "";
  }
  const std::string d = dev.Path.string() + "/";
  EXPECT_EQ(SerialPortTable(dev.Path, true, {"/tmp/sim"}),
            (std::vector<std::string>{d + "ttyS0", d + "ttyS1", d + "ttyS2", d + "ttyS3",
                                      d + "ttyUSB2", d + "ttyUSB10", d + "ttyACM0", "/tmp/sim"}));
  EXPECT_EQ(SerialPortTable(dev.Path, false, {"/tmp/a", "/tmp/b", "/tmp/a"}),
            (std::vector<std::string>{"/tmp/a", "/tmp/b"}));
  EXPECT_EQ(PortList("/dev/pts/3:/tmp/sim,,x"),
            (std::vector<std::string>{"/dev/pts/3", "/tmp/sim", "x"}));
  EXPECT_TRUE(PortList("").empty());
}

}  // namespace
}  // namespace quillon::platform
