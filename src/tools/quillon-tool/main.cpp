// quillon-tool: the program's jobs from the command line, over the core and the fake platform
// backends.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <string>

#include "quillon-tool/Commands.h"

namespace quillon::tool {

void ReportError(const std::string& message) {
  std::string line;
  for (const char c : message) {
    if (c == '\r') continue;
    const char shown = c == '\n' ? ' ' : c;
    if (shown == ' ' && !line.empty() && line.back() == ' ') continue;
    line += shown;
  }
  std::cerr << "quillon-tool: " << line << "\n";
}

}  // namespace quillon::tool

int main(int argc, char** argv) {
  CLI::App app{"Quillon on the command line: remote files and recorded bursts."};
  app.require_subcommand(1);
  int status = 0;
  quillon::tool::AddFramesCommand(app, status);
  quillon::tool::AddShowCommand(app, status);
  quillon::tool::AddDecodeCommand(app, status);
  quillon::tool::AddDispatchCommand(app, status);
  quillon::tool::AddRunCommand(app, status);
  quillon::tool::AddLearnCommand(app, status);
  quillon::tool::AddRecognizeCommand(app, status);
  const auto commands = app.get_subcommands([](const CLI::App*) { return true; });
  const auto known = [&](const std::string& name) {
    return std::any_of(commands.begin(), commands.end(),
                       [&](const CLI::App* command) { return command->get_name() == name; });
  };
  if (argc > 1 && argv[1][0] != '-' && !known(argv[1])) {
    quillon::tool::ReportError(std::string("unknown command \"") + argv[1] +
                               "\"; see quillon-tool --help");
    return quillon::tool::BadInput;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::ParseError& error) {
    quillon::tool::ReportError(std::string(error.what()) + "; see quillon-tool --help");
    return quillon::tool::BadInput;
  }
  return status;
}
