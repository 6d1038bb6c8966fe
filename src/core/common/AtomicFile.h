#pragma once

#include <filesystem>
#include <string_view>

#include "core/common/Result.h"

namespace quillon {

// Replaces `path` with `content`: writes a temporary file in the same folder, flushes it and
// renames it over the target, so a failed or interrupted save leaves the old file whole.
Result<Done> WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

}  // namespace quillon
