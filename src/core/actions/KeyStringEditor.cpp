#include "core/actions/KeyStringEditor.h"

#include <algorithm>
#include <tuple>

#include "core/actions/KeyNames.h"
#include "core/actions/KeyStringTexts.h"

namespace quillon {

namespace {

constexpr std::uint32_t ModifierHintMs = 1500;
constexpr std::uint32_t BracketHintMs = 1000;
constexpr std::uint8_t OpenBracketKey = 219;
constexpr std::uint8_t CloseBracketKey = 221;

// Rows (from 1) of KeyDisplayNames that name a key by the character it types.
bool TypesItsName(std::size_t row) {
  return (row >= 22 && row <= 57) || (row >= 88 && row <= 95) || (row >= 98 && row <= 100);
}

bool IsModifierKey(std::uint8_t virtualKey) {
  return (virtualKey >= 16 && virtualKey <= 18) || (virtualKey >= 160 && virtualKey <= 165);
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::size_t CharacterCount(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

// The byte offset of a caret counted in characters; the end for a caret past it.
std::size_t ByteOffset(std::string_view text, std::size_t caret) {
  std::size_t at = 0;
  for (std::size_t passed = 0; at < text.size() && passed < caret; ++passed) {
    do {
      ++at;
    } while (at < text.size() && IsContinuationByte(text[at]));
  }
  return at;
}

// The position of the bracket nearest before `at`, or npos.
std::size_t BracketBefore(std::string_view text, std::size_t at) {
  return at == 0 ? std::string_view::npos : text.find_last_of("[]", at - 1);
}

bool InsideName(std::string_view text, std::size_t at) {
  const std::size_t bracket = BracketBefore(text, at);
  return bracket != std::string_view::npos && text[bracket] == '[';
}

// "[" only outside every bracketed name.
bool CanOpenBracket(std::string_view text, std::size_t at) {
  const auto opened = std::count(text.begin(), text.end(), '[');
  const auto closed = std::count(text.begin(), text.end(), ']');
  return !text.ends_with('[') && opened <= closed && !InsideName(text, at);
}

// "]" only to close a non-empty name opened before the caret and not yet closed after it.
bool CanCloseBracket(std::string_view text, std::size_t at) {
  const std::size_t open = BracketBefore(text, at);
  if (open == std::string_view::npos || text[open] != '[' || open + 1 == at) return false;
  const std::size_t next = text.find_first_of("[]", at);
  return next == std::string_view::npos || text[next] == '[';
}

KeyStringEdit Unchanged(const KeyStringField& field) { return {field, {}, 0, {}}; }

KeyStringEdit Insert(const KeyStringField& field, std::size_t at, std::string_view token,
                     std::string hint = {}, std::uint32_t hintMilliseconds = 0) {
  KeyStringEdit edit{field, std::move(hint), hintMilliseconds, {}};
  edit.Field.Text.insert(at, token);
  edit.Field.Caret = CharacterCount(std::string_view(edit.Field.Text).substr(0, at + token.size()));
  return edit;
}

KeyStringEdit Refused(const KeyStringField& field, KeyStringText error, LanguageFlag language) {
  KeyStringEdit edit = Unchanged(field);
  edit.Error = Text(error, language);
  return edit;
}

KeyStringEdit Bracket(const KeyStringField& field, std::size_t at, char bracket,
                      LanguageFlag language) {
  const bool opening = bracket == '[';
  if (opening ? !CanOpenBracket(field.Text, at) : !CanCloseBracket(field.Text, at)) {
    return Unchanged(field);
  }
  return Insert(
      field, at, std::string(1, bracket),
      std::string(
          Text(opening ? KeyStringText::BeginSpecialKey : KeyStringText::EndSpecialKey, language)),
      BracketHintMs);
}

// The token of a key without modifiers, and whether it is a special key.
struct Token {
  std::string Text;
  bool Special = false;
};

Token TokenOf(std::uint8_t virtualKey) {
  for (const KeyName& key : SpecialKeyNames) {
    if (key.VirtualKey == virtualKey) return {"[" + LowerCase1251(key.Name) + "]", true};
  }
  for (std::size_t row = 1; row <= KeyDisplayNames.size(); ++row) {
    const KeyName& key = KeyDisplayNames[row - 1];
    if (key.VirtualKey == virtualKey && TypesItsName(row)) return {std::string(key.Name), false};
  }
  return {};
}

std::string CountQuestion(std::string_view keys, char open, char close, KeyStringText number,
                          KeyStringText conjunction, LanguageFlag language) {
  const auto opened = std::count(keys.begin(), keys.end(), open);
  const auto closed = std::count(keys.begin(), keys.end(), close);
  if (opened == closed) return {};
  return std::string(Text(number, language)) + std::to_string(opened) +
         std::string(Text(conjunction, language)) + std::to_string(closed) + "\r\n" +
         std::string(Text(KeyStringText::Continue, language));
}

}  // namespace

KeyStringEdit RecordKeyStroke(const KeyStringField& field, const KeyStroke& stroke,
                              LanguageFlag language) {
  if (IsModifierKey(stroke.VirtualKey) || CharacterCount(field.Text) >= KeyStringLengthLimit) {
    return Unchanged(field);
  }
  const std::size_t at = ByteOffset(field.Text, field.Caret);
  const bool inside = InsideName(field.Text, at);
  if (stroke.VirtualKey == OpenBracketKey || stroke.VirtualKey == CloseBracketKey) {
    const bool opening = stroke.VirtualKey == OpenBracketKey;
    if (!stroke.Shift) return Bracket(field, at, opening ? '[' : ']', language);
    if (inside) return Refused(field, KeyStringText::SpecialKeyInSpecialKey, language);
    return Insert(field, at, opening ? "{" : "}");
  }

  const Token token = TokenOf(stroke.VirtualKey);
  if (token.Text.empty()) return Unchanged(field);
  const bool modified = stroke.Shift || stroke.Control || stroke.Alt;
  if (inside && (token.Special || modified)) {
    return Refused(field, KeyStringText::SpecialKeyInSpecialKey, language);
  }
  if (!modified) return Insert(field, at, token.Text);

  std::string opening;
  std::string closing;
  std::string hint;
  // Key cap names: the same in both languages.
  for (const auto& [held, prefix, name] :
       {std::tuple{stroke.Control, "^{", "Control + "}, std::tuple{stroke.Alt, "&{", "Alt + "},
        std::tuple{stroke.Shift, "!{", "Shift + "}}) {
    if (!held) continue;
    opening += prefix;
    closing += '}';
    hint += name;
  }
  return Insert(field, at, opening + token.Text + closing, hint + token.Text, ModifierHintMs);
}

KeyStringEdit TypeCharacter(const KeyStringField& field, std::string_view character,
                            LanguageFlag language) {
  if (character.empty() || static_cast<unsigned char>(character.front()) < ' ' ||
      character == "\x7F" || CharacterCount(field.Text) >= KeyStringLengthLimit) {
    return Unchanged(field);
  }
  const std::size_t at = ByteOffset(field.Text, field.Caret);
  if (character == "[" || character == "]") {
    return Bracket(field, at, character.front(), language);
  }
  const std::string lower = LowerCase1251(character);
  if (lower == character) return Insert(field, at, character);
  if (InsideName(field.Text, at)) {
    return Refused(field, KeyStringText::CapitalInSpecialKey, language);
  }
  return Insert(field, at, "!{" + lower + "}", "Shift + " + lower, ModifierHintMs);
}

KeyStringField EraseBeforeCaret(const KeyStringField& field, bool oneCharacter) {
  const std::string_view text = field.Text;
  const std::size_t end = ByteOffset(text, field.Caret);
  if (end == 0) return field;
  std::size_t start = end - 1;
  while (start > 0 && IsContinuationByte(text[start])) --start;
  if (!oneCharacter && text[end - 1] == ']') {
    if (const std::size_t open = text.rfind('[', end - 1); open != std::string_view::npos) {
      start = open;
    }
  } else if (!oneCharacter && text[end - 1] == '}') {
    // Back to the brace that opens this group, then its modifier sign.
    int depth = 0;
    for (std::size_t at = end; at-- > 0;) {
      depth += text[at] == '}' ? 1 : text[at] == '{' ? -1 : 0;
      if (depth == 0) {
        start = at > 0 && std::string_view("^&!").find(text[at - 1]) != std::string_view::npos
                    ? at - 1
                    : at;
        break;
      }
    }
  }
  KeyStringField erased{std::string(text.substr(0, start)) + std::string(text.substr(end)), 0};
  erased.Caret = CharacterCount(text.substr(0, start));
  return erased;
}

std::vector<std::string> KeyStringWarnings(std::string_view keys, LanguageFlag language) {
  std::vector<std::string> questions;
  for (std::string question : {CountQuestion(keys, '{', '}', KeyStringText::BracesNumber,
                                             KeyStringText::BracesAnd, language),
                               CountQuestion(keys, '[', ']', KeyStringText::BracketsNumber,
                                             KeyStringText::BracketsAnd, language)}) {
    if (!question.empty()) questions.push_back(std::move(question));
  }
  for (std::size_t open = keys.find('['); open != std::string_view::npos;
       open = keys.find('[', open + 1)) {
    const std::size_t close = keys.find(']', open + 1);
    if (close == std::string_view::npos) break;
    const std::string_view name = keys.substr(open, close - open + 1);
    if (!FindSpecialKey(name.substr(1, name.size() - 2))) {
      questions.push_back(std::string(Text(KeyStringText::SpecialKey, language)) +
                          std::string(name) + std::string(Text(KeyStringText::NotFound, language)) +
                          "\r\n" + std::string(Text(KeyStringText::Continue, language)));
    }
    open = close;
  }
  return questions;
}

bool ConfirmKeyString(std::string_view keys, MessageBoxes& boxes, LanguageFlag language) {
  for (const std::string& question : KeyStringWarnings(keys, language)) {
    if (ShowMessageBox(boxes, language, question, MessageButtons::OkCancel, MessageKind::Warning) !=
        MessageAnswer::Ok) {
      return false;
    }
  }
  return true;
}

}  // namespace quillon
