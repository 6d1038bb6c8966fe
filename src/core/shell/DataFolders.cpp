#include "core/shell/DataFolders.h"

#include <fstream>
#include <string>

namespace quillon {

namespace {

namespace fs = std::filesystem;

// Whether a file can be made in the folder: the only sure test of write access.
bool IsWritableFolder(const fs::path& folder) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) return false;
  const fs::path probe = folder / ".quillon-write-test";
  const bool written = std::ofstream(probe).good();
  fs::remove(probe, error);
  return written;
}

}  // namespace

Result<DataFolders> FindDataFolders(const fs::path& programFolder, const char* quillonHome,
                                    const char* xdgDataHome, const char* home) {
  if (quillonHome != nullptr && quillonHome[0] != '\0') return DataFolders{quillonHome, false};
  if (IsWritableFolder(DataFolders{programFolder, true}.Remotes())) {
    return DataFolders{programFolder, true};
  }
  // The XDG base directory rules ignore a setting that is not an absolute path.
  const auto usable = [](const char* value) { return value != nullptr && value[0] == '/'; };
  if (usable(xdgDataHome)) return DataFolders{fs::path(xdgDataHome) / "quillon", false};
  if (usable(home)) return DataFolders{fs::path(home) / ".local" / "share" / "quillon", false};
  return Error{"cannot place the data folder: neither XDG_DATA_HOME nor HOME is set"};
}

Result<Done> CreateDataFolders(const DataFolders& folders) {
  for (const fs::path& folder : {folders.Remotes(), folders.Keys()}) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return Error{folder.string() + ": " + error.message()};
  }
  return Done{};
}

}  // namespace quillon
