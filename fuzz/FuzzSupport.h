#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

namespace quillon::fuzz {

// A file of this process under the temporary folder, for loaders that read from a path. It is
// rewritten for each input and removed when the harness ends normally; the run script gives
// each run a temporary folder of its own, which also takes what a crash leaves behind.
class ScratchFile {
 public:
  explicit ScratchFile(std::string_view name)
      : Folder(std::filesystem::temp_directory_path() /
               ("quillon-fuzz-" + std::to_string(::getpid()))),
        File(Folder / name) {
    std::filesystem::create_directories(Folder);
  }
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::filesystem::path& Path() const { return File; }
  const std::filesystem::path& Directory() const { return Folder; }

  void Write(const std::uint8_t* data, std::size_t size) const {
    std::ofstream out(File, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) Fail("cannot write the scratch file");
  }

 private:
  std::filesystem::path Folder;
  std::filesystem::path File;

  [[noreturn]] static void Fail(const char* what) {
    std::fprintf(stderr, "harness: %s\n", what);
    std::abort();
  }
};

// A broken promise of the code under test: reported and turned into a crash that libFuzzer
// saves with its input.
#define QUILLON_FUZZ_CHECK(condition)                                                    \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

}  // namespace quillon::fuzz
