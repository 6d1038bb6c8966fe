#pragma once

#include <filesystem>

#include "core/common/Result.h"

namespace quillon {

// The program's data: remote data files and configurations in "RIVirOriv", key-combination
// pages in "Keys", both under one base folder.
struct DataFolders {
  std::filesystem::path Base;
  bool Portable = false;  // the base is the program's own folder

  std::filesystem::path Remotes() const { return Base / "RIVirOriv"; }
  std::filesystem::path Keys() const { return Base / "Keys"; }
};

// Where the data lives, from the program's folder and the environment (each value null when
// unset):
//  - QUILLON_HOME, when set and not empty, is the base (tests and demos);
//  - a writable "RIVirOriv" beside the program makes it portable: the program's folder is the
//    base, as the Windows program keeps its data;
//  - otherwise $XDG_DATA_HOME/quillon, or $HOME/.local/share/quillon when XDG_DATA_HOME is
//    unset, empty or relative.
Result<DataFolders> FindDataFolders(const std::filesystem::path& programFolder,
                                    const char* quillonHome, const char* xdgDataHome,
                                    const char* home);

// Creates the two folders where missing.
Result<Done> CreateDataFolders(const DataFolders& folders);

}  // namespace quillon
