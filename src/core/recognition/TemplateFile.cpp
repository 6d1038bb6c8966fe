#include "core/recognition/TemplateFile.h"

#include <charconv>
#include <fstream>
#include <set>
#include <sstream>

#include "core/common/AtomicFile.h"

namespace quillon {

namespace {

constexpr std::size_t MaxFileBytes = 16 * 1024 * 1024;
constexpr std::size_t MaxNameBytes = 255;

std::string_view NextWord(std::string_view& rest) {
  const std::size_t start = rest.find_first_not_of(' ');
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  rest.remove_prefix(start);
  const std::size_t end = std::min(rest.find(' '), rest.size());
  const std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  return word;
}

// A decimal number of `word` within [low, high].
bool Number(std::string_view word, std::int64_t low, std::int64_t high, std::int64_t& value) {
  if (word.empty() || word.size() > 9) return false;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size() && low <= value && value <= high;
}

Error AtLine(std::size_t line, const std::string& what) {
  return Error{"line " + std::to_string(line) + ": " + what};
}

class Reader {
 public:
  Result<RemoteTemplates> Read(std::string_view text) {
    std::size_t number = 0;
    bool header = false;
    while (!text.empty()) {
      const std::size_t end = std::min(text.find('\n'), text.size());
      std::string_view line = text.substr(0, end);
      text.remove_prefix(std::min(end + 1, text.size()));
      ++number;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (!header) {
        if (line != TemplateFileHeader) {
          return AtLine(number,
                        "the file does not begin with \"" + std::string(TemplateFileHeader) + "\"");
        }
        header = true;
        continue;
      }
      if (line.empty() || line.front() == '#') continue;
      if (auto problem = Take(line); !problem.empty()) return AtLine(number, problem);
    }
    if (!header) return Error{"the file is empty"};
    if (!Templates.Buttons.empty() && Templates.Buttons.back().Frames.empty()) {
      return AtLine(number,
                    "button " + std::to_string(Templates.Buttons.back().Key) + " has no frame");
    }
    PrepareTemplates(Templates, Tolerance{});
    return std::move(Templates);
  }

 private:
  // One line; gives what is wrong with it, empty when nothing is.
  std::string Take(std::string_view line) {
    for (const char c : line) {
      if (static_cast<unsigned char>(c) < ' ') return "a control character";
    }
    std::string_view rest = line;
    const std::string_view keyword = NextWord(rest);
    if (keyword == "button") return Button(rest);
    if (keyword == "frame") return FrameLine(rest, false);
    if (keyword == "cut") return FrameLine(rest, true);
    return "unknown line \"" + std::string(keyword) +
           "\" (\"button\", \"frame\" or \"cut\" expected)";
  }

  std::string Button(std::string_view rest) {
    if (!Templates.Buttons.empty() && Templates.Buttons.back().Frames.empty()) {
      return "button " + std::to_string(Templates.Buttons.back().Key) + " has no frame";
    }
    std::int64_t key = 0;
    const std::string_view word = NextWord(rest);
    if (!Number(word, 1, MaxTemplateKey, key)) {
      return "a key number from 1 to " + std::to_string(MaxTemplateKey) + " expected, not \"" +
             std::string(word) + "\"";
    }
    if (!Keys.insert(key).second) return "key " + std::to_string(key) + " appears twice";
    if (rest.size() < 2 || rest.front() != ' ' || rest[1] == ' ') {
      return "a name expected after the key number";
    }
    rest.remove_prefix(1);
    if (rest.size() > MaxNameBytes) return "the name is longer than 255 bytes";
    Templates.Buttons.push_back({.Key = static_cast<std::int32_t>(key),
                                 .Name = std::string(rest),
                                 .Frames = {},
                                 .Shadowed = false});
    return {};
  }

  std::string FrameLine(std::string_view rest, bool cut) {
    if (Templates.Buttons.empty()) return "a frame before the first button";
    ButtonTemplate& button = Templates.Buttons.back();
    if (button.Frames.size() == MaxButtonFrames) {
      return "more than " + std::to_string(MaxButtonFrames) + " frames for one button";
    }
    Frame frame;
    for (std::string_view word = NextWord(rest); !word.empty(); word = NextWord(rest)) {
      std::int64_t value = 0;
      if (!Number(word, 1, MaxDurationUs, value)) {
        return "a duration from 1 to " + std::to_string(MaxDurationUs) + " us expected, not \"" +
               std::string(word) + "\"";
      }
      if (frame.size() == MaxFrameDurations) {
        return "more than " + std::to_string(MaxFrameDurations) + " durations in a frame";
      }
      frame.push_back(static_cast<std::int32_t>(value));
    }
    if (frame.size() % 2 == 0) {
      return "a frame has an odd number of durations (mark to mark), not " +
             std::to_string(frame.size());
    }
    button.Frames.push_back({.Durations = std::move(frame), .Common = false, .Cut = cut});
    return {};
  }

  RemoteTemplates Templates;
  std::set<std::int64_t> Keys;
};

}  // namespace

std::filesystem::path CompanionPath(const std::filesystem::path& remoteFile) {
  std::filesystem::path path = remoteFile;
  path.replace_extension(TemplateFileExtension);
  return path;
}

std::string WriteTemplates(const RemoteTemplates& templates) {
  std::string text = std::string(TemplateFileHeader) + "\n";
  for (const ButtonTemplate& button : templates.Buttons) {
    text += "button " + std::to_string(button.Key) + " " + button.Name + "\n";
    for (const TemplateFrame& frame : button.Frames) {
      text += frame.Cut ? "cut" : "frame";
      for (const std::int32_t duration : frame.Durations) text += " " + std::to_string(duration);
      text += "\n";
    }
  }
  return text;
}

Result<RemoteTemplates> ReadTemplates(std::string_view text) {
  if (text.size() > MaxFileBytes) return Error{"the file is larger than 16 MB"};
  return Reader().Read(text);
}

Result<RemoteTemplates> LoadTemplateFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return RemoteTemplates{};
  const std::string name = path.filename().string();
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  if (!file) return Error{name + ": the file cannot be read"};
  auto read = ReadTemplates(content.view());
  if (!read) return Error{name + ": " + read.ErrorMessage()};
  return read;
}

Result<Done> SaveTemplateFile(const std::filesystem::path& path, const RemoteTemplates& templates) {
  if (templates.Empty()) {
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) return Error{path.filename().string() + ": " + error.message()};
    return Done{};
  }
  return WriteFileAtomically(path, WriteTemplates(templates));
}

}  // namespace quillon
