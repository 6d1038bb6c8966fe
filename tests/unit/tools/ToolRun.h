#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TempFolder.h"

namespace quillon::test {

// What a run of quillon-tool gave: its exit status and both outputs.
struct ToolRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

// Runs quillon-tool with `arguments` (a shell command line, behind `prefix` such as an env
// call), its standard error kept in `folder`.
inline ToolRun RunTool(const std::string& arguments, const TempFolder& folder,
                       const std::string& prefix = "") {
  const std::filesystem::path err = folder.Path / "stderr.txt";
  const std::string command =
      prefix + std::string(QUILLON_TOOL) + " " + arguments + " 2>" + err.string();
  ToolRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.Out.append(buffer, got);
  const int status = pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(err);
  run.Err.assign(std::istreambuf_iterator<char>(in), {});
  return run;
}

}  // namespace quillon::test
