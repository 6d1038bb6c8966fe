#include "core/receiver/Mode2Reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "core/receiver/Mode2Word.h"

namespace quillon {

namespace {

constexpr std::size_t WordSize = sizeof(std::uint32_t);
// Longer than any line of the text form; a longer one is binary garbage, not kept in memory.
constexpr std::size_t MaxLineLength = 200;

bool LooksBinary(std::string_view head) {
  return std::any_of(head.begin(), head.end(),
                     [](char c) { return static_cast<unsigned char>(c) < '\t'; });
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

Result<Done> Mode2Reader::Take(std::string_view bytes, std::vector<std::uint32_t>& words) {
  AnyByte = AnyByte || !bytes.empty();
  Rest.append(bytes);
  if (Form == Mode2Format::Unknown) {
    if (Rest.size() < WordSize) return Done{};
    Form = LooksBinary(std::string_view(Rest).substr(0, WordSize)) ? Mode2Format::Binary
                                                                   : Mode2Format::Text;
  }
  return Form == Mode2Format::Binary ? TakeWords(words) : TakeLines(words);
}

Result<Done> Mode2Reader::Finish(std::vector<std::uint32_t>& words) {
  if (!AnyByte) return Error{"it holds nothing: no mode2 words"};
  if (Form == Mode2Format::Unknown) {
    Form = LooksBinary(Rest) ? Mode2Format::Binary : Mode2Format::Text;
  }
  if (Form == Mode2Format::Binary) {
    if (auto taken = TakeWords(words); !taken) return taken;
    if (Rest.empty()) return Done{};
    return Error{"it ends inside a word, " + std::to_string(Rest.size()) +
                 " bytes after the last whole one: a recording holds whole 32-bit words"};
  }
  if (auto taken = TakeLines(words); !taken) return taken;
  std::string last;
  last.swap(Rest);
  return TakeLine(last, words);
}

Result<Done> Mode2Reader::TakeWords(std::vector<std::uint32_t>& words) {
  const std::size_t whole = Rest.size() / WordSize * WordSize;
  for (std::size_t at = 0; at < whole; at += WordSize) {
    std::uint32_t word = 0;
    std::memcpy(&word, Rest.data() + at, WordSize);  // native byte order, as the kernel's
    words.push_back(word);
  }
  Rest.erase(0, whole);
  return Done{};
}

Result<Done> Mode2Reader::TakeLines(std::vector<std::uint32_t>& words) {
  std::size_t start = 0;
  for (std::size_t end = Rest.find('\n'); end != std::string::npos; end = Rest.find('\n', start)) {
    auto taken = TakeLine(std::string_view(Rest).substr(start, end - start), words);
    if (!taken) return taken;
    start = end + 1;
  }
  Rest.erase(0, start);
  if (Rest.size() > MaxLineLength) {
    return Error{"line " + std::to_string(LineNumber + 1) + " is longer than " +
                 std::to_string(MaxLineLength) + " characters: this is no mode2 recording"};
  }
  return Done{};
}

Result<Done> Mode2Reader::TakeLine(std::string_view line, std::vector<std::uint32_t>& words) {
  ++LineNumber;
  const std::string_view text = Trimmed(line);
  if (text.empty() || text.front() == '#') return Done{};
  const std::string where = "line " + std::to_string(LineNumber) + ": ";

  static constexpr std::array<std::pair<std::string_view, std::uint32_t>, 3> Kinds = {{
      {"pulse", Mode2Pulse},
      {"space", Mode2Space},
      {"timeout", Mode2Timeout},
  }};
  const std::size_t gap = text.find_first_of(" \t");
  const std::string_view keyword = text.substr(0, gap);
  const auto kind = std::find_if(Kinds.begin(), Kinds.end(),
                                 [&](const auto& entry) { return entry.first == keyword; });
  if (kind == Kinds.end() || gap == std::string_view::npos) {
    std::string shown(text.substr(0, 40));
    return Error{where + "\"" + shown + "\" is no pulse, space or timeout line"};
  }
  const std::string_view number = Trimmed(text.substr(gap));
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range || (ec == std::errc() && value > Mode2ValueMask)) {
    return Error{where + std::string(number.substr(0, 40)) + " microseconds is more than a mode2 " +
                 "word holds (" + std::to_string(Mode2ValueMask) + ")"};
  }
  if (ec != std::errc() || end != number.data() + number.size()) {
    return Error{where + "\"" + std::string(number.substr(0, 40)) +
                 "\" is no number of microseconds"};
  }
  words.push_back(Mode2Word(kind->second, static_cast<std::uint32_t>(value)));
  return Done{};
}

}  // namespace quillon
