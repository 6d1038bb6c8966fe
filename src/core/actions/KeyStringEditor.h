#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/actions/MessageBox.h"
#include "core/common/Language.h"

namespace quillon {

// How the editor's send-key field (and a cell of the key-combination window) is written: the
// GUI forwards each key press or typed character with the field's text and caret, and shows
// what comes back. Brackets enclose special-key names and are written only where they open or
// close one, so the field always reads as the key sender will read it.

struct KeyStringField {
  std::string Text;       // UTF-8
  std::size_t Caret = 0;  // in characters, 0 before the first
  bool operator==(const KeyStringField&) const = default;
};

// A key pressed, by Windows virtual key, with the modifiers held.
struct KeyStroke {
  std::uint8_t VirtualKey = 0;
  bool Shift = false;
  bool Control = false;
  bool Alt = false;
};

struct KeyStringEdit {
  KeyStringField Field;  // after the key: unchanged when nothing was inserted
  std::string Hint;      // a balloon hint to show, or empty
  std::uint32_t HintMilliseconds = 0;
  std::string Error;  // an error to show (MessageKind::Error, MessageButtons::Ok), or empty
};

// Fields stop taking keys at this length, so that the longest token still fits a stored
// command (255 characters with "<SendKey>[" and "]").
inline constexpr std::size_t KeyStringLengthLimit = 221;

// With key recording on: a key press becomes a token at the caret. A special key gives its
// bracketed name ("[f5]"), a digit, letter or punctuation key its display name ("a", ";"), and
// held modifiers wrap it ("^{&{!{a}}}", in the order Control, Alt, Shift) with the hint
// "Control + Alt + Shift + a". Shift with a bracket key writes a brace, the bracket keys alone
// write brackets (other modifiers ignored). Modifier keys alone, and other keys, insert
// nothing. Inside an open bracketed name only plain name characters go in.
KeyStringEdit RecordKeyStroke(const KeyStringField& field, const KeyStroke& stroke,
                              LanguageFlag language);

// With key recording off: a typed character (UTF-8) goes in as typed, an upper-case letter as
// a Shift group around its lower case ("!{a}"). Control characters insert nothing.
KeyStringEdit TypeCharacter(const KeyStringField& field, std::string_view character,
                            LanguageFlag language);

// BackSpace: the token before the caret goes, a whole special key ("[f5]") or modifier group
// ("^{a}") at once, else one character. Shift+BackSpace (`oneCharacter`) takes one character.
KeyStringField EraseBeforeCaret(const KeyStringField& field, bool oneCharacter);

// The questions to ask before a key string is stored: unequal counts of "{" and "}", of "["
// and "]", and each bracketed name that is no special key.
std::vector<std::string> KeyStringWarnings(std::string_view keys, LanguageFlag language);

// Asks each question as a warning with OK and Cancel; false when one was cancelled.
bool ConfirmKeyString(std::string_view keys, MessageBoxes& boxes, LanguageFlag language);

}  // namespace quillon
