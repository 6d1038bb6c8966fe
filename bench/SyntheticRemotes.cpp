#include "SyntheticRemotes.h"

#include <cmath>
#include <numeric>
#include <utility>

namespace quillon::bench {

namespace {

// One frame built from levels in microseconds; neighbouring levels of one kind merge, as the
// halves of bi-phase bits do on the air.
class FrameBuilder {
 public:
  FrameBuilder& Mark(double us) { return Add(true, us); }
  FrameBuilder& Space(double us) { return Add(false, us); }

  // From the first mark to the last (the quiet before and after belongs to no frame), in
  // counter ticks of 100 ns.
  PressDurations Take() const {
    PressDurations frame;
    for (const auto& [mark, us] : Levels) {
      if (frame.empty() && !mark) continue;
      frame.push_back(std::llround(us * 10));
    }
    if (!frame.empty() && frame.size() % 2 == 0) frame.pop_back();
    return frame;
  }

 private:
  FrameBuilder& Add(bool mark, double us) {
    if (!Levels.empty() && Levels.back().first == mark) {
      Levels.back().second += us;
    } else {
      Levels.emplace_back(mark, us);
    }
    return *this;
  }
  std::vector<std::pair<bool, double>> Levels;
};

// Frames sent at fixed periods (start to start, in microseconds).
Transmission Periodic(std::vector<PressDurations> frames, const std::vector<double>& periodsUs,
                      std::size_t minFrames, std::size_t repeatFrom) {
  Transmission t;
  for (std::size_t f = 0; f < frames.size(); ++f) {
    const std::int64_t length =
        std::accumulate(frames[f].begin(), frames[f].end(), std::int64_t{0});
    t.Gaps.push_back(std::llround(periodsUs[f] * 10) - length);
  }
  t.Frames = std::move(frames);
  t.MinFrames = minFrames;
  t.RepeatFrom = repeatFrom;
  return t;
}

// Pulse-distance bits, least significant first: a mark, then a short or long space.
void DistanceBits(FrameBuilder& frame, std::uint64_t bits, int count, double mark, double zero,
                  double one) {
  for (int i = 0; i < count; ++i) frame.Mark(mark).Space(((bits >> i) & 1U) != 0 ? one : zero);
}

// NEC: 9 ms + 4.5 ms header, address, inverted address, command, inverted command, 562.5 us
// units; a held button sends the repeat code (9 ms, 2.25 ms, a unit) every 108 ms.
Transmission Nec(std::uint8_t address, std::uint8_t command, std::uint32_t /*press*/) {
  constexpr double T = 562.5;
  FrameBuilder frame;
  frame.Mark(16 * T).Space(8 * T);
  const std::uint32_t bits =
      address | (address ^ 0xFFU) << 8 | std::uint32_t{command} << 16 | (command ^ 0xFFU) << 24;
  DistanceBits(frame, bits, 32, T, T, 3 * T);
  frame.Mark(T);
  FrameBuilder repeat;
  repeat.Mark(16 * T).Space(4 * T).Mark(T);
  return Periodic({frame.Take(), repeat.Take()}, {108'000, 108'000}, 1, 1);
}

// RC5: 14 bi-phase bits of 2 x 889 us (two start bits, the toggle, 5 address and 6 command
// bits, most significant first; a one is space then mark); the frame repeats every 113.8 ms.
Transmission Rc5(std::uint8_t address, std::uint8_t command, std::uint32_t press) {
  constexpr double T = 889;
  const std::uint32_t bits = 1U << 13 | ((command & 0x40U) == 0 ? 1U : 0U) << 12 |
                             (press % 2) << 11 | (address & 0x1FU) << 6 | (command & 0x3FU);
  FrameBuilder frame;
  for (int i = 13; i >= 0; --i) {
    if (((bits >> i) & 1U) != 0) {
      frame.Space(T).Mark(T);
    } else {
      frame.Mark(T).Space(T);
    }
  }
  return Periodic({frame.Take()}, {113'778}, 1, 0);
}

// RC6 mode 0: a 6 T mark and 2 T space leader (T = 444.4 us), the start bit, three mode bits,
// the toggle as a double-length trailer bit, 8 address and 8 command bits (a one is mark then
// space); the frame repeats every 106.7 ms.
Transmission Rc6(std::uint8_t address, std::uint8_t command, std::uint32_t press) {
  constexpr double T = 444.44;
  FrameBuilder frame;
  frame.Mark(6 * T).Space(2 * T);
  const auto bit = [&](bool one, double unit) {
    if (one) {
      frame.Mark(unit).Space(unit);
    } else {
      frame.Space(unit).Mark(unit);
    }
  };
  bit(true, T);
  for (int i = 0; i < 3; ++i) bit(false, T);
  bit(press % 2 == 1, 2 * T);
  const std::uint32_t data = std::uint32_t{address} << 8 | command;
  for (int i = 15; i >= 0; --i) bit(((data >> i) & 1U) != 0, T);
  return Periodic({frame.Take()}, {106'667}, 1, 0);
}

// Sony: a 2.4 ms mark and 600 us space, then 7 command bits, the address (5 or 8 bits) and an
// extension (8 bits, 20-bit form), least significant first, each a mark of 1.2 ms (one) or
// 600 us (zero) and a 600 us space; at least three frames, every 45 ms.
Transmission Sony(std::uint32_t command, std::uint32_t address, int addressBits,
                  std::uint32_t extended, int extendedBits) {
  constexpr double T = 600;
  FrameBuilder frame;
  frame.Mark(4 * T).Space(T);
  const std::uint64_t bits =
      command | std::uint64_t{address} << 7 | std::uint64_t{extended} << (7 + addressBits);
  for (int i = 0; i < 7 + addressBits + extendedBits; ++i) {
    frame.Mark(((bits >> i) & 1U) != 0 ? 2 * T : T).Space(T);
  }
  return Periodic({frame.Take()}, {45'000}, 3, 0);
}

// JVC: an 8.4 ms + 4.2 ms header, 8 address and 8 command bits (526 us units, ones with a
// 3-unit space), a stop mark; while held the frame repeats without its header every 55 ms.
Transmission Jvc(std::uint8_t address, std::uint8_t command, std::uint32_t /*press*/) {
  constexpr double T = 526;
  const std::uint32_t bits = address | std::uint32_t{command} << 8;
  FrameBuilder frame;
  frame.Mark(16 * T).Space(8 * T);
  DistanceBits(frame, bits, 16, T, T, 3 * T);
  frame.Mark(T);
  FrameBuilder repeat;
  DistanceBits(repeat, bits, 16, T, T, 3 * T);
  repeat.Mark(T);
  return Periodic({frame.Take(), repeat.Take()}, {55'000, 55'000}, 1, 1);
}

// Samsung: a 4.5 ms + 4.5 ms header, the address twice, the command and its inverse (560 us
// units, ones with a 1690 us space), a stop mark; the whole frame repeats every 108 ms.
Transmission Samsung(std::uint8_t address, std::uint8_t command, std::uint32_t /*press*/) {
  const std::uint32_t bits = address | std::uint32_t{address} << 8 | std::uint32_t{command} << 16 |
                             (command ^ 0xFFU) << 24;
  FrameBuilder frame;
  frame.Mark(4500).Space(4500);
  DistanceBits(frame, bits, 32, 560, 560, 1690);
  frame.Mark(560);
  return Periodic({frame.Take()}, {108'000}, 1, 0);
}

// Kaseikyo (the Panasonic form): an 8 T + 4 T header (T = 432 us), 48 bits: the vendor code
// 0x2002, its parity nibble and a system nibble, the device, the command and the XOR of the
// last three bytes, ones with a 3 T space, a stop mark; the whole frame repeats every 130 ms.
Transmission Kaseikyo(std::uint8_t device, std::uint8_t command, std::uint32_t /*press*/) {
  constexpr double T = 432;
  const std::uint8_t system = 0x00;
  const std::uint8_t check = system ^ device ^ command;
  const std::uint64_t bits = 0x2002U | std::uint64_t{system} << 16 | std::uint64_t{device} << 24 |
                             std::uint64_t{command} << 32 | std::uint64_t{check} << 40;
  FrameBuilder frame;
  frame.Mark(8 * T).Space(4 * T);
  DistanceBits(frame, bits, 48, T, T, 3 * T);
  frame.Mark(T);
  return Periodic({frame.Take()}, {130'000}, 1, 0);
}

// Distinct commands spread over the command space (37 is odd, so k * 37 + 5 runs through all
// of a power-of-two range before it repeats).
std::uint32_t Command(std::size_t button, std::uint32_t range) {
  return static_cast<std::uint32_t>((button * 37 + 5) % range);
}

std::uint8_t Byte(std::uint32_t value) { return static_cast<std::uint8_t>(value); }

SyntheticRemote Make(std::string name, std::size_t buttons, std::uint32_t range,
                     std::function<Transmission(std::uint32_t command, std::uint32_t press)> send) {
  SyntheticRemote remote;
  remote.Name = std::move(name);
  for (std::size_t b = 0; b < buttons; ++b) {
    remote.Labels.push_back("CMD " + std::to_string(Command(b, range)));
  }
  remote.Button = [range, send = std::move(send)](std::size_t button, std::uint32_t press) {
    return send(Command(button, range), press);
  };
  return remote;
}

}  // namespace

std::vector<SyntheticRemote> SyntheticRemotes(std::size_t buttons) {
  std::vector<SyntheticRemote> remotes;
  remotes.push_back(Make("NEC", buttons, 256,
                         [](std::uint32_t c, std::uint32_t p) { return Nec(0x04, Byte(c), p); }));
  remotes.push_back(Make("RC5", buttons, 64,
                         [](std::uint32_t c, std::uint32_t p) { return Rc5(0x00, Byte(c), p); }));
  remotes.push_back(Make("RC6", buttons, 256,
                         [](std::uint32_t c, std::uint32_t p) { return Rc6(0x00, Byte(c), p); }));
  remotes.push_back(Make("Sony 12", buttons, 128, [](std::uint32_t c, std::uint32_t /*p*/) {
    return Sony(c, 0x01, 5, 0, 0);
  }));
  remotes.push_back(Make("Sony 15", buttons, 128, [](std::uint32_t c, std::uint32_t /*p*/) {
    return Sony(c, 0x97, 8, 0, 0);
  }));
  remotes.push_back(Make("Sony 20", buttons, 128, [](std::uint32_t c, std::uint32_t /*p*/) {
    return Sony(c, 0x1A, 5, 0x55, 8);
  }));
  remotes.push_back(Make("JVC", buttons, 256,
                         [](std::uint32_t c, std::uint32_t p) { return Jvc(0x03, Byte(c), p); }));
  remotes.push_back(Make("Samsung", buttons, 256, [](std::uint32_t c, std::uint32_t p) {
    return Samsung(0x07, Byte(c), p);
  }));
  remotes.push_back(Make("Kaseikyo", buttons, 256, [](std::uint32_t c, std::uint32_t p) {
    return Kaseikyo(0x80, Byte(c), p);
  }));
  return remotes;
}

}  // namespace quillon::bench
