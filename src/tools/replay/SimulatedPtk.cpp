#include "replay/SimulatedPtk.h"

#include <algorithm>
#include <numeric>

#include "quillon-ptk-sim/LineForm.h"

namespace quillon {

namespace {

constexpr std::uint32_t QuietMs = 1000;

}  // namespace

SimulatedPtk::SimulatedPtk(platform::FakeEventLoop& loop, const platform::FakeClock& clock)
    : FakeSerialDevice(loop, clock), Loop(loop), Clock(clock) {}

void SimulatedPtk::Write(std::string_view bytes) {
  FakeSerialDevice::Write(bytes);
  if (!IsOpen()) return;
  std::string answer = Sim.Take(bytes);
  if (!answer.empty()) ArriveAfter(AnswerDelayMs, std::move(answer));
}

void SimulatedPtk::Press(std::span<const std::int64_t> durations) {
  const std::int64_t start = Clock.Counter();
  std::int64_t end = start + std::accumulate(durations.begin(), durations.end(), std::int64_t{0});
  if (Sim.Started()) {
    for (ptksim::TimedLine& line : ptksim::EncodePress(durations, Sim.T())) {
      end = std::max(end, start + line.At);
      ArriveAt(start + line.At, std::move(line.Bytes));
    }
  }
  Loop.AdvanceTo(end);
  Loop.AdvanceBy(QuietMs);
}

}  // namespace quillon
