#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/common/Language.h"

namespace quillon {

// A grid of the learning window (learned keys, or lock-up pairs): a header row, then one row
// per key with its number, name and five codes, and always a trailing empty row.
struct LearnGrid {
  static constexpr std::size_t Columns = 7;
  using Row = std::array<std::string, Columns>;
  std::vector<Row> Rows;
};

// Empties both grids to the header and one empty row, the header in `language`.
void ClearLearnGrids(LearnGrid& keys, LearnGrid& lockUps, LanguageFlag language);

}  // namespace quillon
