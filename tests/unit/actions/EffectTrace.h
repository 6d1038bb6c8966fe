#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/EffectLog.h"

namespace quillon::test {

// The effects of a log in short: a key event as "+vk scan" (press) or "-vk scan" (release),
// every other effect as its text.
inline std::vector<std::string> Trace(const platform::EffectLog& log, bool keysOnly = false) {
  std::vector<std::string> trace;
  for (const platform::Effect& effect : log.Effects()) {
    if (effect.Name != "key") {
      if (!keysOnly) trace.push_back(effect.Text());
      continue;
    }
    const auto number = [&](std::size_t field) {
      return std::to_string(std::get<std::int64_t>(effect.Fields[field].Value));
    };
    trace.push_back((std::get<bool>(effect.Fields[2].Value) ? "-" : "+") + number(0) + " " +
                    number(1));
  }
  return trace;
}

inline std::vector<std::string> KeyTrace(const platform::EffectLog& log) {
  return Trace(log, true);
}

}  // namespace quillon::test
