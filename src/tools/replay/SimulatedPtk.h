#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeSerialDevice.h"
#include "quillon-ptk-sim/SimReceiver.h"

namespace quillon {

// A microcontroller receiver on a fake port, on virtual time: the simulator's command side
// answers what the program writes, and once started it sends each press in the simulator's
// line form, framed by the T the program last set.
class SimulatedPtk final : public platform::FakeSerialDevice {
 public:
  static constexpr std::uint32_t AnswerDelayMs = 2;

  SimulatedPtk(platform::FakeEventLoop& loop, const platform::FakeClock& clock);

  void Write(std::string_view bytes) override;

  // The lines of one press arrive as the receiver sends them, from the present virtual time;
  // then a quiet second passes, as between presses. A stopped receiver sends nothing.
  void Press(std::span<const std::int64_t> durations);

  const ptksim::SimReceiver& Receiver() const { return Sim; }

 private:
  platform::FakeEventLoop& Loop;
  const platform::FakeClock& Clock;
  ptksim::SimReceiver Sim{{}};
};

}  // namespace quillon
