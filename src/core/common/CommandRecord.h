#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// What a command node does.
enum class CommandKind : std::uint8_t {
  GroupKey = 0,
  Command = 1,        // a built-in command or "Close Group"
  SendKeys = 2,       // a send-key string
  WindowMessage = 3,  // "WM_COMMAND" or "WM_CLOSE" with two parameters
  AudioCommand = 4,   // device/destination/line/action
  None = 255,
};

// The result of a command lookup, passed by value from key dispatch to the executor. Texts are
// UTF-8, each cut to 255 stored characters.
struct CommandRecord {
  std::string WindowName;       // of the group or root in force
  std::string ApplicationPath;  // of the group or root in force
  CommandKind Kind = CommandKind::None;
  std::string Parameter;

  bool operator==(const CommandRecord&) const = default;
};

}  // namespace quillon
