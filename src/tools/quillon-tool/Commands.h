#pragma once

#include <string>

#include "core/common/Result.h"
#include "core/learning/RemoteFile.h"

namespace CLI {
class App;
}

namespace quillon::tool {

// Exit statuses: 0 done, 1 some input failed while others went through, 2 bad input or usage.
inline constexpr int BadInput = 2;

// Each subcommand registers its options on the application; its callback sets `status`.
void AddFramesCommand(CLI::App& app, int& status);
void AddShowCommand(CLI::App& app, int& status);
void AddDecodeCommand(CLI::App& app, int& status);
void AddDispatchCommand(CLI::App& app, int& status);
void AddRunCommand(CLI::App& app, int& status);
void AddLearnCommand(CLI::App& app, int& status);
void AddRecognizeCommand(CLI::App& app, int& status);

// Prints "quillon-tool: <message>" on stderr, on one line.
void ReportError(const std::string& message);

// Loads a remote data file as the program does; a missing file is an error here. A code
// symbol that is no digit is reported as a warning.
Result<RemoteLoad> LoadRemoteForTool(const std::string& file, CurrentRemote& current);

}  // namespace quillon::tool
