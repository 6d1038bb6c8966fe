#include "TestSupport.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace quillon::test {

namespace fs = std::filesystem;

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  Folder = fs::temp_directory_path() /
           ("quillon-it-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
  fs::remove_all(Folder);
  fs::create_directories(Folder);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(Folder, ignored);
}

void EnvironmentChanges::Set(const std::string& name, const std::string& value) {
  if (!Saved.contains(name)) {
    const char* old = std::getenv(name.c_str());
    Saved[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
  }
  ::setenv(name.c_str(), value.c_str(), 1);
}

void EnvironmentChanges::Restore() {
  for (const auto& [name, value] : Saved) {
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }
  Saved.clear();
}

std::vector<std::string> FileLines(const fs::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void WriteFile(const fs::path& file, const std::string& text, bool executable) {
  std::ofstream(file) << text;
  if (executable) {
    fs::permissions(file, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add);
  }
}

}  // namespace quillon::test
