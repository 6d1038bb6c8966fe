#include "core/receiver/CaptureFile.h"

#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>

namespace quillon {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

Error LineError(std::int32_t lineNumber, const std::string& what) {
  return Error{"line " + std::to_string(lineNumber) + ": " + what};
}

// Reads a comment line's fields into `record`; false when the line is no record header.
bool ParseHeader(std::string_view line, CaptureRecord& record) {
  bool isRecord = false;
  for (std::string_view token : Tokens(line.substr(1))) {
    const std::size_t eq = token.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = token.substr(0, eq);
    std::string value = PercentDecode(token.substr(eq + 1));
    if (key == "remote") {
      record.Remote = std::move(value);
      isRecord = true;
    } else if (key == "button") {
      record.Button = std::move(value);
    } else if (key == "same_as") {
      record.SameAs = std::move(value);
    }
  }
  return isRecord;
}

Result<std::vector<std::int64_t>> ParseDurations(std::string_view line, std::int32_t lineNumber) {
  std::vector<std::int64_t> durations;
  for (std::string_view token : Tokens(line)) {
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc() || end != token.data() + token.size() || value <= 0) {
      std::string what = "\"";
      what.append(token.substr(0, 40));
      what.append("\" is not a positive duration in ticks");
      return LineError(lineNumber, what);
    }
    if (value > MaxCaptureDuration) {
      return LineError(lineNumber, "\"" + std::string(token.substr(0, 40)) +
                                       "\" is longer than any burst (at most " +
                                       std::to_string(MaxCaptureDuration) + " ticks)");
    }
    durations.push_back(value);
  }
  return durations;
}

// Calls `take(line, number)` for each line (without its line end) until it returns false.
template <typename Take>
void ForEachLine(std::string_view text, Take take) {
  std::int32_t lineNumber = 0;
  std::size_t position = 0;
  while (position < text.size()) {
    std::size_t end = text.find('\n', position);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(position, end - position);
    position = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!take(line, ++lineNumber)) return;
  }
}

}  // namespace

Result<std::vector<CaptureRecord>> ParseCaptures(std::string_view text) {
  std::vector<CaptureRecord> records;
  bool awaitingDurations = false;
  std::optional<Error> error;
  ForEachLine(text, [&](std::string_view line, std::int32_t lineNumber) {
    if (!line.empty() && line.front() == '#') {
      CaptureRecord record;
      record.LineNumber = lineNumber;
      if (!ParseHeader(line, record)) return true;
      if (awaitingDurations) {
        error = LineError(lineNumber, "a record header follows a header without durations");
        return false;
      }
      records.push_back(std::move(record));
      awaitingDurations = true;
      return true;
    }
    if (!awaitingDurations) {
      if (Tokens(line).empty()) return true;
      error = LineError(lineNumber, "durations without a record header");
      return false;
    }
    auto durations = ParseDurations(line, lineNumber);
    if (!durations) {
      error = Error{durations.ErrorMessage()};
      return false;
    }
    records.back().Durations = std::move(durations).Value();
    awaitingDurations = false;
    return true;
  });
  if (error) return *error;
  if (awaitingDurations) {
    return LineError(records.back().LineNumber, "record header without a durations line");
  }
  return records;
}

Result<std::vector<CaptureRecord>> ParseBursts(std::string_view text) {
  std::vector<CaptureRecord> bursts;
  CaptureRecord header;
  std::optional<Error> error;
  ForEachLine(text, [&](std::string_view line, std::int32_t lineNumber) {
    if (!line.empty() && line.front() == '#') {
      CaptureRecord candidate;
      if (ParseHeader(line, candidate)) header = candidate;
      return true;
    }
    auto durations = ParseDurations(line, lineNumber);
    if (!durations) {
      error = Error{durations.ErrorMessage()};
      return false;
    }
    CaptureRecord burst = header;
    burst.LineNumber = lineNumber;
    burst.Durations = std::move(durations).Value();
    bursts.push_back(std::move(burst));
    return true;
  });
  if (error) return *error;
  return bursts;
}

Result<std::vector<CaptureRecord>> ReadCaptureFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return Error{"cannot open " + path.string()};
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) return Error{"cannot read " + path.string()};
  auto records = ParseCaptures(content.str());
  if (!records) return Error{path.filename().string() + ": " + records.ErrorMessage()};
  return records;
}

}  // namespace quillon
