#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillon::test {

// How long a test waits for a condition that a working system meets in milliseconds.
inline constexpr std::chrono::milliseconds Patience{5000};

// Checks `condition` every few milliseconds until it holds or `limit` passes; whether it held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = Patience);

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return Folder; }

 private:
  std::filesystem::path Folder;
};

// Environment variables of this process changed for one test and restored afterwards.
class EnvironmentChanges {
 public:
  EnvironmentChanges() = default;
  ~EnvironmentChanges() { Restore(); }
  EnvironmentChanges(const EnvironmentChanges&) = delete;
  EnvironmentChanges& operator=(const EnvironmentChanges&) = delete;

  void Set(const std::string& name, const std::string& value);
  void Restore();

 private:
  std::map<std::string, std::optional<std::string>> Saved;
};

// The lines of a text file; none when it is missing.
std::vector<std::string> FileLines(const std::filesystem::path& file);

// Writes `text` to `file` and makes it executable when `executable`.
void WriteFile(const std::filesystem::path& file, const std::string& text, bool executable = false);

}  // namespace quillon::test
