#include "quillon-tool/Captures.h"

#include <filesystem>

namespace quillon::tool {

Result<std::vector<CaptureRecord>> ReadCaptures(const std::vector<std::string>& files,
                                                bool labelsRequired) {
  std::vector<CaptureRecord> all;
  for (const std::string& file : files) {
    auto records = ReadCaptureFile(file);
    if (!records) return Error{records.ErrorMessage()};
    const std::string name = std::filesystem::path(file).filename().string();
    if (records.Value().empty()) return Error{name + ": no recorded burst"};
    for (CaptureRecord& record : records.Value()) {
      if (labelsRequired && record.Button.empty()) {
        return Error{name + ": line " + std::to_string(record.LineNumber) +
                     ": the record has no button label (button=...)"};
      }
      all.push_back(std::move(record));
    }
  }
  return all;
}

}  // namespace quillon::tool
