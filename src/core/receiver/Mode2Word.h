#pragma once

#include <cstdint>

namespace quillon {

// The words a Linux kernel IR device (/dev/lircN) delivers in mode2, in native byte order:
// the kind in bits 24..31, a value in microseconds (a frequency in Hz) in bits 0..23. The
// values are the kernel's own (the Linux backend checks them against its header), spelled out
// here so that the core reads recordings without an operating-system header.
inline constexpr std::uint32_t Mode2Space = 0x00000000;
inline constexpr std::uint32_t Mode2Pulse = 0x01000000;
inline constexpr std::uint32_t Mode2Frequency = 0x02000000;
inline constexpr std::uint32_t Mode2Timeout = 0x03000000;
inline constexpr std::uint32_t Mode2Overflow = 0x04000000;
inline constexpr std::uint32_t Mode2KindMask = 0xFF000000;
inline constexpr std::uint32_t Mode2ValueMask = 0x00FFFFFF;

inline constexpr std::uint32_t Mode2Kind(std::uint32_t word) { return word & Mode2KindMask; }
inline constexpr std::uint32_t Mode2Value(std::uint32_t word) { return word & Mode2ValueMask; }
inline constexpr std::uint32_t Mode2Word(std::uint32_t kind, std::uint32_t value) {
  return kind | (value & Mode2ValueMask);
}

}  // namespace quillon
