#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Result.h"

namespace quillon {

enum class Mode2Format : std::uint8_t {
  Unknown,  // not told yet: too few bytes
  Binary,   // 32-bit words in native byte order, as the kernel delivers them
  Text,     // lines "pulse N", "space N", "timeout N" (microseconds); '#' starts a comment
};

// Reads mode2 words from the bytes of a kernel IR device or of a recording, in reads of any
// size. A recording's form is told by its first four bytes: a binary word's kind (0 to 4)
// always puts a byte below 9 among them, and the text form holds no such byte.
class Mode2Reader {
 public:
  explicit Mode2Reader(Mode2Format format) : Form(format) {}

  // Takes the bytes of one read and appends the words they complete. A line of the text form
  // that is no pulse, space or timeout line is an error with its line number.
  Result<Done> Take(std::string_view bytes, std::vector<std::uint32_t>& words);
  // The input ended: its last line is taken. A recording that holds nothing, or whose binary
  // form ends inside a word (a truncated file), is an error.
  Result<Done> Finish(std::vector<std::uint32_t>& words);

  Mode2Format Format() const { return Form; }

 private:
  Result<Done> TakeWords(std::vector<std::uint32_t>& words);
  Result<Done> TakeLines(std::vector<std::uint32_t>& words);
  Result<Done> TakeLine(std::string_view line, std::vector<std::uint32_t>& words);

  Mode2Format Form;
  std::string Rest;  // the bytes of a word or line not complete yet
  bool AnyByte = false;
  std::int64_t LineNumber = 0;
};

}  // namespace quillon
