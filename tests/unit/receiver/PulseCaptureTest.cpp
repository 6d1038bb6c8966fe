#include "core/receiver/PulseCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeSerialDevice.h"

namespace quillon {
namespace {

using platform::ModemRlsd;

// Edges reach the pipeline as the serial device delivers them: through the event loop, with
// the counter reading taken when the line changed.
struct CaptureBench {
  CaptureBench() {
    Pipeline.ReceiveEnabled = true;
    platform::SerialHandlers handlers;
    handlers.CarrierChanged = [this](std::int64_t counter) { Capture.CarrierChanged(counter); };
    handlers.DataReceived = [this](std::int64_t counter, std::size_t) {
      Capture.DataArrived(counter);
    };
    EXPECT_TRUE(Device.Open("/dev/ttyS0", handlers));
  }

  // Edges at the given readings, in ticks after the present virtual time: carrier edges that
  // leave carrier detect on, or data arrivals.
  void Edges(const std::vector<std::int64_t>& readings, bool carrier = true) {
    const std::int64_t now = Clock.Counter();
    for (const std::int64_t r : readings) {
      if (carrier) {
        Device.CarrierEdgeAt(now + r, ModemRlsd);
      } else {
        Device.ArriveAt(now + r, "x");
      }
    }
    Loop.AdvanceTo(now + readings.back() + platform::CounterTicksPerMillisecond);
  }
  std::vector<std::int64_t> Stored() const {
    return {Pipeline.PulseBuffer.begin(), Pipeline.PulseBuffer.begin() + Pipeline.PulseCount};
  }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  platform::FakeSerialDevice Device{Loop, Clock};
  ReceiveSettings Settings;
  LearnedTimings Timings;
  DecodingLimits Limits;
  ReceivePipeline Pipeline{Loop, Settings, Timings, Limits};
  PulseCapture Capture{Pipeline, Device};
};

struct CaptureFixture : ::testing::Test, CaptureBench {};

TEST_F(CaptureFixture, SixCarrierEdgesGiveFiveDurations) {
  Edges({0, 90000, 135000, 140600, 146200, 163100});
  EXPECT_EQ(Stored(), (std::vector<std::int64_t>{90000, 45000, 5600, 5600, 16900}));
  EXPECT_FALSE(Pipeline.EdgePhase);
  EXPECT_TRUE(Pipeline.BurstTimerRunning());
}

TEST_F(CaptureFixture, ShortModemStatusDurationsAreOverwrittenDataDurationsAlwaysCount) {
  const struct {
    bool Carrier;
    std::int64_t Duration;
    std::vector<std::int64_t> Expected;
  } cases[] = {
      {true, 1000, {2000}},  // the glitch merges into nothing
      {true, 1001, {1001, 7000, 2000}},
      {false, 1000, {1000, 7000, 2000}},
      {false, 5, {5, 7000, 2000}},
  };
  for (const auto& c : cases) {
    CaptureBench f;
    f.Pipeline.PtkFound = true;
    const std::vector<std::int64_t> readings{0, c.Duration, c.Duration + 7000, c.Duration + 9000};
    f.Edges(readings, c.Carrier);
    EXPECT_EQ(f.Stored(), c.Expected) << c.Carrier << " " << c.Duration;
  }
}

TEST_F(CaptureFixture, AModemStatusOfZeroIsNoEdge) {
  for (const std::int64_t r : {1000, 3000, 6000}) Device.CarrierEdgeAt(Clock.Counter() + r, 0);
  Loop.AdvanceBy(10);
  EXPECT_EQ(Pipeline.PulseCount, 0);
  EXPECT_FALSE(Pipeline.EdgePhase);
  EXPECT_FALSE(Pipeline.BurstTimerRunning());
}

TEST_F(CaptureFixture, DataArrivalsAreEdgesOnlyOnceAMicrocontrollerReceiverAnswered) {
  Edges({0, 4000, 9000}, false);
  EXPECT_EQ(Pipeline.PulseCount, 0);
  EXPECT_FALSE(Pipeline.BurstTimerRunning());
  Pipeline.PtkFound = true;
  Edges({1000, 5000, 10000}, false);
  EXPECT_EQ(Stored(), (std::vector<std::int64_t>{4000, 5000}));
}

}  // namespace
}  // namespace quillon
