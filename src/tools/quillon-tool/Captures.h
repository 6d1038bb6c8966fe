#pragma once

#include <string>
#include <vector>

#include "core/common/Result.h"
#include "core/receiver/CaptureFile.h"

namespace quillon::tool {

// The records of capture files (the format of samples/ir-captures), file after file in
// order. An unreadable or malformed file, a file without records, and with `labelsRequired`
// a record without a button label, are errors naming the file.
Result<std::vector<CaptureRecord>> ReadCaptures(const std::vector<std::string>& files,
                                                bool labelsRequired);

}  // namespace quillon::tool
