#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Language.h"
#include "core/common/Result.h"
#include "core/learning/CurrentRemote.h"
#include "core/learning/LearnGrid.h"
#include "core/learning/RepeatFrameAnalysis.h"

namespace quillon {

// The folder of remote data files (".IRD") and configurations under a data folder.
std::filesystem::path RemoteFolder(const std::filesystem::path& dataHome);

struct RemoteLoad {
  bool Found = false;             // a missing file is no error: nothing is loaded
  std::filesystem::path Path;     // the file loaded
  bool MultiLevelCoding = false;  // the code shape of the loaded remote
  std::string Problem;            // a code symbol that is no digit, reported and skipped
  // A companion file of button templates that cannot be used: the remote is loaded without
  // templates, as one that has no such file.
  std::string TemplateProblem;
};

// Loads a remote data file into `current`: the record (patched when written by an older
// version), its reference timings, and the limits of the code-shape analysis. A file that is
// shorter than a record or unreadable is an error with the message the program shows before
// it ends; `current` is then untouched. The button templates are read from the companion file
// (CompanionPath); a missing file leaves none, and so does a corrupt one or one whose buttons
// are not keys of the record, with TemplateProblem saying why.
Result<RemoteLoad> LoadRemoteFile(const std::filesystem::path& path, CurrentRemote& current,
                                  LanguageFlag language);

// What saving a learned remote takes besides the current remote: the save dialog's producer
// and model, the learning window's grids and measurements, and the receiver in use.
struct RemoteSaveRequest {
  std::string Producer;
  std::string Model;
  const LearnGrid* KeyGrid = nullptr;
  const LearnGrid* LockUpGrid = nullptr;
  std::int32_t NominalLength = 0;
  const TrainTable* Trains = nullptr;  // the hold-button trains (PTS receiver)
  bool LearnedWithPTK = false;         // the repeat frame is then the one the receiver gave
  char ReceiverT = ' ';
  std::int32_t KeyTimerInterval = 1;
  std::int32_t MaxValueError = 30;
};

// Builds the record of a learned remote: the grids' rows in order (the trailing empty row
// included), the common prefix of the first codes, the repeat frame, and the reference timings
// of the current remote. Refuses grids with more rows than the tables hold.
Result<std::unique_ptr<RemoteData>> BuildRemoteRecord(const RemoteSaveRequest& request,
                                                      const CurrentRemote& current);

// The file name of a learned remote: producer and model, with characters that would leave the
// folder or that file names cannot hold replaced by "_".
std::string RemoteFileName(std::string_view producer, std::string_view model);

// Writes a record as the whole content of a remote data file, atomically.
Result<Done> WriteRemoteRecord(const std::filesystem::path& path, const RemoteData& record);

// Builds the record and writes it atomically into `folder`. When the file exists, asks
// `confirmOverwrite` with the question in `language`; a refusal writes nothing and gives false.
Result<bool> SaveRemoteFile(const std::filesystem::path& folder, const RemoteSaveRequest& request,
                            const CurrentRemote& current,
                            const std::function<bool(std::string_view question)>& confirmOverwrite,
                            LanguageFlag language);

// The length of the longest leading part (at least two symbols) that the first codes of all
// learned keys share, 0 when there is none or fewer than two keys.
std::int32_t CommonPrefixLength(const RemoteData& remote);

// A remote file found in the folder, with the name the remote-type list shows for it:
// the producer in upper case, two blanks, the model.
struct RemoteType {
  std::string DisplayName;
  std::filesystem::path Path;
};

// Every "*.ird" file of the folder (any case), in file-name order, each loaded to learn its
// name. A file that cannot be read is an error, as in LoadRemoteFile.
Result<std::vector<RemoteType>> ScanRemoteTypes(const std::filesystem::path& folder,
                                                LanguageFlag language);

// A list of names as the remote-type list and the button-name list keep them: sorted, unique
// regardless of case, no blank names and none that start with a blank.
class UniqueNameList {
 public:
  void Add(const std::string& name);
  const std::vector<std::string>& Items() const { return Names; }

 private:
  std::vector<std::string> Names;
};

// Makes the remote whose display name is exactly `wanted` current (the last such file wins),
// loaded as LoadRemoteFile does; when none is, the current remote becomes an empty record and
// the result says not found.
Result<RemoteLoad> SelectRemoteType(const std::filesystem::path& folder, std::string_view wanted,
                                    CurrentRemote& current, LanguageFlag language);

}  // namespace quillon
