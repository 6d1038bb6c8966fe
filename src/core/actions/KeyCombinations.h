#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Result.h"

namespace quillon {

// Key-combination pages: named libraries of key strings, one ".kcn" file per page in the
// "Keys" data folder. Each line of a file is a row: a free description, a comma and a key string
// in the send-key language. Lines end in CR LF; the text is Windows-1251 on disk.

struct KeyCombination {
  std::string Command;  // the description (UTF-8)
  std::string HotKey;   // the key string (UTF-8)
  bool operator==(const KeyCombination&) const = default;
};

inline constexpr std::string_view KeyCombinationExtension = ".kcn";

// What a cell can hold: its text with each line break made a blank, since a line break would
// split its row in two.
std::string CellText(std::string_view text);

// A row as one line of a file, without its line end. The key string is written as it is, so
// files stay readable by the Windows program; a comma in the description is written "\,", so
// that the first comma that is not escaped still separates the cells. A backslash of the
// description is doubled only where it stands before a comma, another backslash or the
// separator; elsewhere it is written as it is. Cells are written as CellText.
std::string FormatKeyCombinationLine(const KeyCombination& row);

// A line of a file as a row: split at the first comma not escaped by a backslash. In the
// description "\," stands for a comma and "\\" for a backslash; any other backslash is itself.
// The key string is everything after the separator, further commas included. A line without a
// separator gives two empty cells.
KeyCombination ParseKeyCombinationLine(std::string_view line);

// Rows whose both cells are empty (the line would be a lone ",") are not written.
bool IsEmptyRow(const KeyCombination& row);

// The whole file for the rows: each row that is not empty, as a line ended by CR LF, in
// Windows-1251.
std::string FormatKeyCombinationFile(const std::vector<KeyCombination>& rows);

// The rows of a file's bytes. Each of CR LF, LF and CR ends a line; a last line without an end
// is a row too, and nothing follows the last line end.
std::vector<KeyCombination> ParseKeyCombinationFile(std::string_view bytes);

// Reads a page file. A missing file is a page without rows; a file that exists and cannot be
// read is an error.
Result<std::vector<KeyCombination>> ReadKeyCombinationFile(const std::filesystem::path& path);

// Writes a page file atomically, creating its folder when missing.
Result<Done> WriteKeyCombinationFile(const std::filesystem::path& path,
                                     const std::vector<KeyCombination>& rows);

// A page of the folder: its title (the file name up to its last ".") and its file.
struct KeyCombinationPage {
  std::string Name;
  std::filesystem::path File;
  bool operator==(const KeyCombinationPage&) const = default;
};

// The pages of `folder`: every ".kcn" file (the extension in any letter case), ordered by name.
// A missing folder has none.
std::vector<KeyCombinationPage> ListKeyCombinationPages(const std::filesystem::path& folder);

// Page names are file names: the characters configuration names refuse are refused here too.
bool IsValidPageName(std::string_view name);

// Page names are compared as Windows compares file names: in any letter case, Cyrillic
// included.
bool SamePageName(std::string_view a, std::string_view b);

}  // namespace quillon
