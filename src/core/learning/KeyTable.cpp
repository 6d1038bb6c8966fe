#include "core/learning/KeyTable.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr std::size_t FirstCodeColumn = 2;

// Rows below the header and above the trailing empty row.
std::size_t FilledRows(const LearnGrid& grid) {
  return grid.Rows.size() >= 2 ? grid.Rows.size() - 2 : 0;
}

}  // namespace

KeyCodes CodesOfBoxes(const std::array<std::string, 5>& boxes) {
  KeyCodes codes;
  for (std::size_t k = 0; k < codes.size(); ++k) codes[k] = boxes[k].empty() ? boxes[0] : boxes[k];
  return codes;
}

std::optional<std::size_t> FindCollision(const LearnGrid& keys, const KeyCodes& codes) {
  std::optional<std::size_t> collision;
  for (std::size_t r = 1; r < keys.Rows.size(); ++r) {
    const LearnGrid::Row& row = keys.Rows[r];
    const bool shared = std::any_of(row.begin() + FirstCodeColumn, row.end(), [&](const auto& c) {
      return std::find(codes.begin(), codes.end(), c) != codes.end();
    });
    if (shared) collision = r;
  }
  return collision;
}

void AppendKey(LearnGrid& keys, std::int32_t number, const std::string& storedName,
               const KeyCodes& codes) {
  LearnGrid::Row& row = keys.Rows.back();
  row[0] = std::to_string(number);
  row[1] = storedName;
  std::copy(codes.begin(), codes.end(), row.begin() + FirstCodeColumn);
  keys.Rows.emplace_back();
}

void AppendLockUpPair(LearnGrid& lockUps, const LearnGrid::Row& earlier,
                      const LearnGrid::Row& added) {
  const std::size_t first = lockUps.Rows.size() - 1;
  lockUps.Rows.resize(lockUps.Rows.size() + 2);
  lockUps.Rows[first] = earlier;
  lockUps.Rows[first + 1] = added;
}

bool KeyTableFull(const LearnGrid& keys) { return FilledRows(keys) >= MaxLearnedKeys; }

bool LockUpTableFull(const LearnGrid& lockUps) { return FilledRows(lockUps) >= 2 * MaxLockUpPairs; }

}  // namespace quillon
