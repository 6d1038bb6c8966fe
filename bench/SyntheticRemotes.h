#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "replay/PressMaker.h"

namespace quillon::bench {

// A remote of a common protocol, made from the protocol's published timings: its buttons'
// labels, and what a button sends on a given press of the remote (counted from 0 over all its
// buttons, for the toggle bit that flips with every new press).
struct SyntheticRemote {
  std::string Name;
  std::vector<std::string> Labels;
  std::function<Transmission(std::size_t button, std::uint32_t press)> Button;
};

// NEC (with its repeat code), RC5 and RC6 mode 0 (toggle bit), Sony 12, 15 and 20 bit (at
// least three frames, repeated while held), JVC (headerless repeats), Samsung and Kaseikyo
// (whole frames repeated): one device address each, `buttons` distinct commands.
std::vector<SyntheticRemote> SyntheticRemotes(std::size_t buttons);

}  // namespace quillon::bench
