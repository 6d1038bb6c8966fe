#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace quillon::platform {

// Data of a type the program does not use (the "hex:" and "hex(n):" forms), kept as written
// so that rewriting the file loses nothing.
struct RegOtherData {
  std::string Text;
  bool operator==(const RegOtherData&) const = default;
};

// A value of a registry file: an integer (REG_DWORD), a text (REG_SZ) or other data.
using RegValue = std::variant<std::uint32_t, std::string, RegOtherData>;

// One key section: its full path ("HKEY_CURRENT_USER\Software\...") and its values in file
// order. Names compare without regard to ASCII case.
struct RegKey {
  std::string Path;
  std::vector<std::pair<std::string, RegValue>> Values;

  const RegValue* Find(std::string_view name) const;
  // Replaces the value of that name, keeping the spelling and place of an existing one.
  void Set(std::string_view name, RegValue value);
  void Erase(std::string_view name);
};

// The keys of a registry file in file order.
struct RegDocument {
  std::vector<RegKey> Keys;

  RegKey* Find(std::string_view path);
  RegKey& FindOrAdd(std::string_view path);
};

// Reads the bytes of a registry file: UTF-16LE after its byte-order mark, otherwise UTF-8 (a
// file recoded by hand for an editor without UTF-16). Line ends may be CRLF or LF. Blank lines,
// the header, comments, deletion entries and lines that make no sense are skipped; values
// before the first key or under a malformed key line are skipped too. Never fails: what cannot
// be read is left out.
RegDocument ParseRegFile(std::string_view bytes);

// The bytes of a "Windows Registry Editor Version 5.00" file as regedit exports it: UTF-16LE
// with a byte-order mark, CRLF line ends, a blank line after each key. Texts holding a line
// break are written in the hex(1) form, which regedit imports as REG_SZ.
//
// UTF-16 because it is the one encoding regedit imports unchanged on every Windows system: an
// ANSI "REGEDIT4" file is read in the importing system's code page, which garbles Cyrillic
// anywhere but on a Windows-1251 system, and it cannot hold the characters beyond Windows-1251
// that a Linux path (FileName, the start-up entry) may contain. Editors recognise the encoding
// by its mark.
std::string FormatRegFile(const RegDocument& document);

}  // namespace quillon::platform
