#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/CommandRecord.h"

namespace quillon {

// The texts of a configuration node carry all its meaning, in bracketed fields.
enum class BracketMode : std::uint8_t {
  Fields = 0,  // the texts of the first four bracket pairs (a pair may nest in the second)
  Last = 2,    // the text of the last bracket pair
  Prefix = 3,  // the text before the first opening bracket, blanks trimmed
};

using BracketFields = std::array<std::string, 4>;

// Takes the bracketed fields out of a node text, each cut to 255 characters. A missing bracket
// counts as position 0, so a field whose brackets are absent comes out empty.
//  - Fields: field 0 is the text of the first pair. Fields 1..3 are the second, third and
//    fourth pairs, unless a third opening bracket comes before the second closing one (a pair
//    nested in the second field): field 1 then runs to the third closing bracket, field 2 is
//    the fourth pair and field 3 is empty.
//  - Last: field 0 is the text between the last opening and the last closing bracket.
//  - Prefix: field 0 is the text before the first opening bracket, trimmed, or the whole text.
BracketFields SplitBracketFields(std::string_view text, BracketMode mode, char open = '[',
                                 char close = ']');

// Reads one node text into `record`: the kind and parameter of a command node, kind 0 for the
// root form ("[window][path]") and for a group key node, whose window name and application
// path it also takes. Texts it does not recognise leave the record as it was.
void ParseNodeText(std::string_view text, CommandRecord& record);

inline constexpr std::uint32_t WmCommand = 273;
inline constexpr std::uint32_t WmClose = 16;

struct WindowMessage {
  std::uint32_t Message = 0;
  std::int64_t WParam = 0;
  std::int64_t LParam = 0;
  bool Ok = false;  // the name was "WM_COMMAND" or "WM_CLOSE"
};

// Reads "name,wParam,lParam": the name in any letter case, the numbers as decimal integers
// (anything unreadable as 0).
WindowMessage ParseWindowMessage(std::string_view parameter);

// The built-in commands, in the order of the editor's list.
inline constexpr std::array<std::string_view, 15> BuiltInCommands = {"none",
                                                                     "Turn Off Computer",
                                                                     "Reboot Computer",
                                                                     "Run/Close Application",
                                                                     "On/Off  Screen Saver",
                                                                     "MouseLeft",
                                                                     "MouseRight",
                                                                     "MouseUp",
                                                                     "MouseDown",
                                                                     "MouseLeftClick",
                                                                     "MouseRightClick",
                                                                     "MouseLeftMotion",
                                                                     "MouseRightMotion",
                                                                     "MouseUpMotion",
                                                                     "MouseDownMotion"};

inline constexpr std::string_view CloseGroupCommand = "Close Group";
inline constexpr std::string_view GroupKeyField = "Group Key";
inline constexpr std::string_view LockUpMarker = "Lock Up";
inline constexpr std::string_view RemoteTypePrefix = "<Remoute Control Type>";

}  // namespace quillon
