#include "core/common/AtomicFile.h"

#include <fstream>
#include <system_error>

namespace quillon {

Result<Done> WriteFileAtomically(const std::filesystem::path& path, std::string_view content) {
  std::filesystem::path temporary = path;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return Error{"cannot write " + temporary.string()};
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return Error{"cannot write " + temporary.string()};
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return Error{"cannot replace " + path.string() + ": " + error.message()};
  }
  return Done{};
}

}  // namespace quillon
