// The key-combination page file: a file of any content read as a page, its rows written and
// read back. What is written reads back as the same rows, less the empty ones, and every
// description and key string survives a line of its own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/actions/KeyCombinations.h"
#include "core/common/Cp1251.h"

namespace {

using namespace quillon;

std::vector<KeyCombination> WithoutEmptyRows(const std::vector<KeyCombination>& rows) {
  std::vector<KeyCombination> kept;
  for (const KeyCombination& row : rows) {
    if (!IsEmptyRow(row)) kept.push_back(row);
  }
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFile file("fuzz.kcn");
  static const std::filesystem::path saved = file.Directory() / "saved" / "saved.kcn";
  file.Write(data, size);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const Result<std::vector<KeyCombination>> read = ReadKeyCombinationFile(file.Path());
  QUILLON_FUZZ_CHECK(read.Ok());
  const std::vector<KeyCombination>& rows = read.Value();
  QUILLON_FUZZ_CHECK(rows == ParseKeyCombinationFile(bytes));
  QUILLON_FUZZ_CHECK(rows.size() <= size);
  for (const KeyCombination& row : rows) {
    QUILLON_FUZZ_CHECK(CellText(row.Command) == row.Command);
    QUILLON_FUZZ_CHECK(CellText(row.HotKey) == row.HotKey);
  }

  QUILLON_FUZZ_CHECK(WriteKeyCombinationFile(saved, rows).Ok());
  const Result<std::vector<KeyCombination>> again = ReadKeyCombinationFile(saved);
  QUILLON_FUZZ_CHECK(again.Ok());
  QUILLON_FUZZ_CHECK(again.Value() == WithoutEmptyRows(rows));

  // Any text as a description or a key string: a key string in the description's place tests
  // the escapes with text they were not written for.
  const std::string text = Cp1251ToUtf8(bytes);
  const KeyCombination swapped{CellText(text), CellText(text)};
  QUILLON_FUZZ_CHECK(ParseKeyCombinationLine(FormatKeyCombinationLine(swapped)) == swapped);
  return 0;
}
