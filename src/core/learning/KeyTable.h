#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/learning/LearnGrid.h"

namespace quillon {

// The codes a remembered key stores: Data[k] is the code of box k, or of box 1 when box k is
// empty, so every place holds a code.
using KeyCodes = std::array<std::string, 5>;
KeyCodes CodesOfBoxes(const std::array<std::string, 5>& boxes);

// The last learned key (grid row) that has any of `codes` among its five: a collision, which
// makes the two keys a lock-up pair.
std::optional<std::size_t> FindCollision(const LearnGrid& keys, const KeyCodes& codes);

// Fills the trailing empty row with key number `number` (its name stored as
// StoredButtonName) and adds a new trailing row.
void AppendKey(LearnGrid& keys, std::int32_t number, const std::string& storedName,
               const KeyCodes& codes);

// Adds the pair (the earlier key, the key just learned) to the lock-up grid: the rows are added
// first, then written, and the grid ends with its empty row again.
void AppendLockUpPair(LearnGrid& lockUps, const LearnGrid::Row& earlier,
                      const LearnGrid::Row& added);

// The tables of a remote file hold 100 entries, entry 0 unused and one for the trailing row:
// 98 keys and 49 lock-up pairs.
inline constexpr std::size_t MaxLearnedKeys = 98;
inline constexpr std::size_t MaxLockUpPairs = 49;
bool KeyTableFull(const LearnGrid& keys);
bool LockUpTableFull(const LearnGrid& lockUps);

}  // namespace quillon
