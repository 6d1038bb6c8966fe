#include "core/actions/KeyNames.h"

namespace quillon {

constexpr std::array<KeyName, SpecialKeyCount> SpecialKeyNames = {{
    {"LButton", 1},   {"RButton", 2},    {"Cancel", 3},    {"MButton", 4},     {"Back", 8},
    {"Tab", 9},       {"Clear", 12},     {"Return", 13},   {"Shift", 16},      {"Control", 17},
    {"Menu", 91},     {"PopUpMenu", 93}, {"Pause", 19},    {"Capital", 20},    {"Escape", 27},
    {"Space", 32},    {"Prior", 33},     {"Next", 34},     {"End", 35},        {"Home", 36},
    {"Left", 37},     {"Up", 38},        {"Right", 39},    {"Down", 40},       {"Select", 41},
    {"Print", 42},    {"Execute", 43},   {"SnapShot", 44}, {"Insert", 45},     {"Delete", 46},
    {"Help", 47},     {"NumPad0", 96},   {"NumPad1", 97},  {"NumPad2", 98},    {"NumPad3", 99},
    {"NumPad4", 100}, {"NumPad5", 101},  {"NumPad6", 102}, {"NumPad7", 103},   {"NumPad8", 104},
    {"NumPad9", 105}, {"Multiply", 106}, {"Add", 107},     {"Separator", 108}, {"Subtract", 109},
    {"Decimal", 110}, {"Divide", 111},   {"F1", 112},      {"F2", 113},        {"F3", 114},
    {"F4", 115},      {"F5", 116},       {"F6", 117},      {"F7", 118},        {"F8", 119},
    {"F9", 120},      {"F10", 121},      {"F11", 122},     {"F12", 123},       {"F13", 124},
    {"F14", 125},     {"F15", 126},      {"F16", 127},     {"F17", 128},       {"F18", 129},
    {"F19", 130},     {"F20", 131},      {"F21", 132},     {"F22", 133},       {"F23", 134},
    {"F24", 135},     {"NumLock", 144},  {"Scroll", 145},
}};

constexpr std::array<KeyName, KeyDisplayCount> KeyDisplayNames = {{
    {"Back Space", 8}, {"Tab", 9},      {"Num5", 12},        {"Enter", 13},     {"Shift", 16},
    {"Ctrl", 17},      {"Alt", 18},     {"Pause Break", 19}, {"Caps Lock", 20}, {"Esc", 27},
    {"Space", 32},     {"Page Up", 33}, {"Page Down", 34},   {"End", 35},       {"Home", 36},
    {"Left", 37},      {"Up", 38},      {"Rigth", 39},       {"Down", 40},      {"Ins", 45},
    {"Del", 46},       {"0", 48},       {"1", 49},           {"2", 50},         {"3", 51},
    {"4", 52},         {"5", 53},       {"6", 54},           {"7", 55},         {"8", 56},
    {"9", 57},         {"a", 65},       {"b", 66},           {"c", 67},         {"d", 68},
    {"e", 69},         {"f", 70},       {"g", 71},           {"h", 72},         {"i", 73},
    {"j", 74},         {"k", 75},       {"l", 76},           {"m", 77},         {"n", 78},
    {"o", 79},         {"p", 80},       {"q", 81},           {"r", 82},         {"s", 83},
    {"t", 84},         {"u", 85},       {"v", 86},           {"w", 87},         {"x", 88},
    {"y", 89},         {"z", 90},       {"Menu", 91},        {"Menu", 92},      {"PopUp", 93},
    {"Sleep", 95},     {"Num 0", 96},   {"Num 1", 97},       {"Num 2", 98},     {"Num 3", 99},
    {"Num 4", 100},    {"Num 5", 101},  {"Num 6", 102},      {"Num 7", 103},    {"Num 8", 104},
    {"Num 9", 105},    {"Num *", 106},  {"Num +", 107},      {"Num -", 109},    {"Num /", 111},
    {"F1", 112},       {"F2", 113},     {"F3", 114},         {"F4", 115},       {"F5", 116},
    {"F6", 117},       {"F7", 118},     {"F8", 119},         {"F9", 120},       {"F10", 121},
    {"F11", 122},      {"F12", 123},    {";", 186},          {"=", 187},        {",", 188},
    {"-", 189},        {".", 190},      {"/", 191},          {"`", 192},        {"\\", 220},
    {"NumLock", 144},  {"Scroll", 145}, {"[", 219},          {"]", 221},        {"'", 222},
}};

namespace {

constexpr bool EveryRowFilled(const auto& table) {
  for (const KeyName& row : table) {
    if (row.Name.empty() || row.Name.size() > 13 || row.VirtualKey == 0) return false;
  }
  return true;
}
static_assert(EveryRowFilled(SpecialKeyNames) && EveryRowFilled(KeyDisplayNames));
static_assert(SpecialKeyNames[FirstNumPadRow - 1].Name == "NumPad0" &&
              SpecialKeyNames[LastNumPadRow - 1].Name == "NumPad9");

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<std::size_t> FindSpecialKey(std::string_view name) {
  const std::string wanted = LowerCase1251(Trimmed(name));
  for (std::size_t row = 0; row < SpecialKeyNames.size(); ++row) {
    if (LowerCase1251(SpecialKeyNames[row].Name) == wanted) return row + 1;
  }
  return std::nullopt;
}

std::string ReadableKeys(std::string_view keys) {
  std::string readable;
  for (const char c : keys) {
    switch (c) {
      case '^':
        readable += "Control ";
        break;
      case '!':
        readable += "Shift ";
        break;
      case '&':
        readable += "Alt ";
        break;
      case '{':
        readable += "+ ";
        break;
      case '}':
        readable += ' ';
        break;
      default:
        readable += c;
    }
  }
  return readable;
}

std::string LowerCase1251(std::string_view utf8) {
  std::string lower(utf8);
  for (std::size_t i = 0; i < lower.size(); ++i) {
    auto byte = [&](std::size_t at) { return static_cast<unsigned char>(lower[at]); };
    const unsigned char c = byte(i);
    if (c >= 'A' && c <= 'Z') {
      lower[i] = static_cast<char>(c - 'A' + 'a');
    } else if (i + 1 < lower.size() && (c == 0xD0 || c == 0xD2)) {
      // Two-byte sequences: U+0400..U+042F are D0 80..D0 AF, U+0490 is D2 90.
      const unsigned char next = byte(i + 1);
      if (c == 0xD2) {
        if (next == 0x90) lower[i + 1] = static_cast<char>(0x91);  // Ґ to ґ
      } else if (next >= 0x80 && next <= 0x8F) {
        lower[i] = static_cast<char>(0xD1);  // U+0400..U+040F to U+0450..U+045F
        lower[i + 1] = static_cast<char>(next + 0x10);
      } else if (next >= 0x90 && next <= 0x9F) {
        lower[i + 1] = static_cast<char>(next + 0x20);  // А..П to а..п
      } else if (next >= 0xA0 && next <= 0xAF) {
        lower[i] = static_cast<char>(0xD1);  // Р..Я to р..я
        lower[i + 1] = static_cast<char>(next - 0x20);
      }
      ++i;
    }
  }
  return lower;
}

}  // namespace quillon
