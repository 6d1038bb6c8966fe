#include "core/learning/ButtonName.h"

#include "core/common/Cp1251.h"
#include "core/common/Utf8.h"

namespace quillon {

namespace {

constexpr std::u32string_view RefusedCharacters = U"<>[]{}";

}  // namespace

bool RefusedInName(char32_t character) {
  return RefusedCharacters.find(character) != std::u32string_view::npos;
}

bool NameBoxAcceptsKey(char32_t key, bool boxEmpty, bool caretAtStart) {
  if (RefusedInName(key)) return false;
  return key != U' ' || !(boxEmpty || caretAtStart);
}

std::string FilterNameText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const char32_t c = NextCodePoint(text, i);
    if (RefusedInName(c) || (c == U' ' && out.empty())) continue;
    out.append(text.substr(start, i - start));
  }
  return out;
}

std::string TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string StoredButtonName(std::string_view name) {
  return UpperCase1251(CutToStoredLength(name, StoredNameLength));
}

NameProblem CheckButtonName(const LearnGrid& keys, std::string_view name) {
  if (name.empty()) return NameProblem::Missing;
  if (name.front() == ' ') return NameProblem::FirstSymbolBlank;
  const std::string stored = StoredButtonName(name);
  for (std::size_t r = 1; r < keys.Rows.size(); ++r) {
    if (UpperCase1251(keys.Rows[r][1]) == stored) return NameProblem::Exists;
  }
  return NameProblem::None;
}

}  // namespace quillon
