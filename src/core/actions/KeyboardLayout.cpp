#include "core/actions/KeyboardLayout.h"

#include <array>
#include <cstddef>
#include <initializer_list>

namespace quillon {

namespace {

struct KeyCodes {
  std::uint8_t VirtualKey = 0;
  std::uint8_t ScanCode = 0;
  char Unshifted = 0;  // what the key types without Shift
  char Shifted = 0;    // what it types with Shift
};

// Every key of the US layout that has a scan code or types a character.
constexpr KeyCodes UsKeys[] = {
    {3, 0x46, 3, 0},      // Cancel (Control+Break)
    {8, 0x0E, '\b', 0},   // Back Space
    {9, 0x0F, '\t', 0},   // Tab
    {12, 0x4C, 0, 0},     // Clear (numeric 5 without Num Lock)
    {13, 0x1C, '\r', 0},  // Enter
    {16, 0x2A, 0, 0},     // Shift
    {17, 0x1D, 0, 0},     // Control
    {18, 0x38, 0, 0},     // Alt
    {19, 0x45, 0, 0},     // Pause
    {20, 0x3A, 0, 0},     // Caps Lock
    {27, 0x01, 27, 0},    // Escape
    {32, 0x39, ' ', 0},   // Space
    {33, 0x49, 0, 0},     // Page Up
    {34, 0x51, 0, 0},     // Page Down
    {35, 0x4F, 0, 0},     // End
    {36, 0x47, 0, 0},     // Home
    {37, 0x4B, 0, 0},     // Left
    {38, 0x48, 0, 0},     // Up
    {39, 0x4D, 0, 0},     // Right
    {40, 0x50, 0, 0},     // Down
    {44, 0x54, 0, 0},     // Print Screen
    {45, 0x52, 0, 0},     // Insert
    {46, 0x53, 0, 0},     // Delete
    {48, 0x0B, '0', ')'},  {49, 0x02, '1', '!'},   {50, 0x03, '2', '@'},  {51, 0x04, '3', '#'},
    {52, 0x05, '4', '$'},  {53, 0x06, '5', '%'},   {54, 0x07, '6', '^'},  {55, 0x08, '7', '&'},
    {56, 0x09, '8', '*'},  {57, 0x0A, '9', '('},   {65, 0x1E, 'A', 0},    {66, 0x30, 'B', 0},
    {67, 0x2E, 'C', 0},    {68, 0x20, 'D', 0},     {69, 0x12, 'E', 0},    {70, 0x21, 'F', 0},
    {71, 0x22, 'G', 0},    {72, 0x23, 'H', 0},     {73, 0x17, 'I', 0},    {74, 0x24, 'J', 0},
    {75, 0x25, 'K', 0},    {76, 0x26, 'L', 0},     {77, 0x32, 'M', 0},    {78, 0x31, 'N', 0},
    {79, 0x18, 'O', 0},    {80, 0x19, 'P', 0},     {81, 0x10, 'Q', 0},    {82, 0x13, 'R', 0},
    {83, 0x1F, 'S', 0},    {84, 0x14, 'T', 0},     {85, 0x16, 'U', 0},    {86, 0x2F, 'V', 0},
    {87, 0x11, 'W', 0},    {88, 0x2D, 'X', 0},     {89, 0x15, 'Y', 0},    {90, 0x2C, 'Z', 0},
    {91, 0x5B, 0, 0},  // left Windows key
    {92, 0x5C, 0, 0},  // right Windows key
    {93, 0x5D, 0, 0},  // application key
    {95, 0x5F, 0, 0},  // Sleep
    {96, 0x52, '0', 0},    {97, 0x4F, '1', 0},     {98, 0x50, '2', 0},    {99, 0x51, '3', 0},
    {100, 0x4B, '4', 0},   {101, 0x4C, '5', 0},    {102, 0x4D, '6', 0},   {103, 0x47, '7', 0},
    {104, 0x48, '8', 0},   {105, 0x49, '9', 0},    {106, 0x37, '*', 0},   {107, 0x4E, '+', 0},
    {109, 0x4A, '-', 0},   {110, 0x53, '.', 0},    {111, 0x35, '/', 0},   {112, 0x3B, 0, 0},
    {113, 0x3C, 0, 0},     {114, 0x3D, 0, 0},      {115, 0x3E, 0, 0},     {116, 0x3F, 0, 0},
    {117, 0x40, 0, 0},     {118, 0x41, 0, 0},      {119, 0x42, 0, 0},     {120, 0x43, 0, 0},
    {121, 0x44, 0, 0},     {122, 0x57, 0, 0},      {123, 0x58, 0, 0},     {124, 0x64, 0, 0},
    {125, 0x65, 0, 0},     {126, 0x66, 0, 0},      {127, 0x67, 0, 0},     {128, 0x68, 0, 0},
    {129, 0x69, 0, 0},     {130, 0x6A, 0, 0},      {131, 0x6B, 0, 0},     {132, 0x6C, 0, 0},
    {133, 0x6D, 0, 0},     {134, 0x6E, 0, 0},      {135, 0x76, 0, 0},     {144, 0x45, 0, 0},
    {145, 0x46, 0, 0},     {186, 0x27, ';', ':'},  {187, 0x0D, '=', '+'}, {188, 0x33, ',', '<'},
    {189, 0x0C, '-', '_'}, {190, 0x34, '.', '>'},  {191, 0x35, '/', '?'}, {192, 0x29, '`', '~'},
    {219, 0x1A, '[', '{'}, {220, 0x2B, '\\', '|'}, {221, 0x1B, ']', '}'}, {222, 0x28, '\'', '"'},
};

constexpr std::array<KeyCodes, 256> ByVirtualKey = [] {
  std::array<KeyCodes, 256> table{};
  for (const KeyCodes& key : UsKeys) table[key.VirtualKey] = key;
  return table;
}();

constexpr bool OnNumericPad(std::uint8_t virtualKey) {
  return virtualKey >= 96 && virtualKey <= 111;
}

// The main keyboard types the characters the numeric pad also types; Enter types a line feed
// too. Control characters other than these belong to no key.
constexpr std::array<std::uint8_t, 128> ByCharacter = [] {
  std::array<std::uint8_t, 128> table{};
  table['\n'] = 13;
  for (const KeyCodes& key : UsKeys) {
    if (OnNumericPad(key.VirtualKey) || key.VirtualKey == 3) continue;
    for (const char c : {key.Unshifted, key.Shifted}) {
      const auto index = static_cast<std::size_t>(static_cast<unsigned char>(c));
      if (c > 0 && table[index] == 0) table[index] = key.VirtualKey;
    }
  }
  for (char c = 'a'; c <= 'z'; ++c) table[static_cast<std::size_t>(c)] = table[c - 'a' + 'A'];
  return table;
}();

}  // namespace

std::uint8_t VirtualKeyOfChar(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code < ByCharacter.size() ? ByCharacter[code] : 0;
}

std::uint16_t MapVirtualKey(std::uint8_t virtualKey, KeyMapping mapping) {
  const KeyCodes& key = ByVirtualKey[virtualKey];
  return mapping == KeyMapping::ScanCode ? key.ScanCode : static_cast<unsigned char>(key.Unshifted);
}

}  // namespace quillon
