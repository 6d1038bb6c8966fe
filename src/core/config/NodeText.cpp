#include "core/config/NodeText.h"

#include <charconv>

#include "core/common/Cp1251.h"

namespace quillon {

namespace {

constexpr std::size_t MaxField = 255;

// Positions are counted from 1 with 0 for "not found", and texts are copied by position and
// count with out-of-range parts taken as empty: the arithmetic the node texts were designed
// with, where a missing bracket reads as position 0.
std::size_t Find(std::string_view text, char c, std::size_t after = 0) {
  const std::size_t at = text.find(c, after);
  return at == std::string_view::npos ? 0 : at + 1;
}

std::string Copy(std::string_view text, std::int64_t from, std::int64_t count) {
  if (from < 1) from = 1;
  if (count <= 0 || from > static_cast<std::int64_t>(text.size())) return {};
  return CutToStoredLength(
      text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(count)), MaxField);
}

// The text between an opening bracket at `open` and a closing one at `close`.
std::string Between(std::string_view text, std::size_t open, std::size_t close) {
  return Copy(text, static_cast<std::int64_t>(open) + 1,
              static_cast<std::int64_t>(close) - static_cast<std::int64_t>(open) - 1);
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::int64_t NumberOr0(std::string_view text) {
  text = Trimmed(text);
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() ? value : 0;
}

}  // namespace

BracketFields SplitBracketFields(std::string_view text, BracketMode mode, char open, char close) {
  BracketFields fields;
  if (mode == BracketMode::Prefix) {
    const std::size_t first = Find(text, open);
    fields[0] = first == 0 ? CutToStoredLength(text, MaxField)
                           : CutToStoredLength(Trimmed(text.substr(0, first - 1)), MaxField);
    return fields;
  }
  if (mode == BracketMode::Last) {
    const std::size_t lastOpen = text.rfind(open);
    const std::size_t lastClose = text.rfind(close);
    fields[0] = Between(text, lastOpen == std::string_view::npos ? 0 : lastOpen + 1,
                        lastClose == std::string_view::npos ? 0 : lastClose + 1);
    return fields;
  }
  std::array<std::size_t, 4> o{};
  std::array<std::size_t, 4> c{};
  for (std::size_t k = 0; k < 4; ++k) {
    o[k] = Find(text, open, k == 0 ? 0 : o[k - 1]);
    c[k] = Find(text, close, k == 0 ? 0 : c[k - 1]);
    if (k > 0 && o[k - 1] == 0) o[k] = 0;
    if (k > 0 && c[k - 1] == 0) c[k] = 0;
  }
  fields[0] = Between(text, o[0], c[0]);
  if (o[2] == 0 || o[2] >= c[1]) {
    fields[1] = Between(text, o[1], c[1]);
    fields[2] = Between(text, o[2], c[2]);
    fields[3] = Between(text, o[3], c[3]);
  } else {
    fields[1] = Between(text, o[1], c[2]);
    fields[2] = Between(text, o[3], c[3]);
  }
  return fields;
}

void ParseNodeText(std::string_view text, CommandRecord& record) {
  if (text.empty()) return;
  const bool keyNode = text.front() >= '1' && text.front() <= '9';
  if (keyNode) {
    if (text.find(" - ") == std::string_view::npos ||
        text.find("[Group Key]") == std::string_view::npos) {
      return;
    }
    record.Kind = CommandKind::GroupKey;
    const BracketFields fields = SplitBracketFields(text, BracketMode::Fields);
    const std::size_t group = fields[0] == GroupKeyField ? 0 : 1;
    record.WindowName = fields[group + 1];
    record.ApplicationPath = fields[group + 2];
    return;
  }

  const std::size_t lt = Find(text, '<');
  const std::size_t gt = lt == 0 ? 0 : Find(text, '>', lt);
  const std::size_t open1 = Find(text, '[');
  const std::size_t open2 = open1 == 0 ? 0 : Find(text, '[', open1);
  const std::size_t close1 = Find(text, ']');
  const std::size_t close2 = close1 == 0 ? 0 : Find(text, ']', close1);
  if (lt == 0 && gt == 0 && Find(text, '>') == 0) {
    if (open1 != 0 && open2 != 0 && close1 != 0 && close2 != 0) record.Kind = CommandKind::GroupKey;
    return;
  }
  if (lt == 0 || gt == 0 || open1 == 0 || close1 == 0) return;
  const std::string_view word = text.substr(lt, gt - lt - 1);
  if (word == "Command" || word == "AudioCommand" || word == "WM_") {
    record.Kind = word == "Command"        ? CommandKind::Command
                  : word == "AudioCommand" ? CommandKind::AudioCommand
                                           : CommandKind::WindowMessage;
    record.Parameter = Between(text, open1, close1);
  } else if (word == "SendKey") {
    record.Kind = CommandKind::SendKeys;
    record.Parameter =
        Copy(text, static_cast<std::int64_t>(gt) + 2,
             static_cast<std::int64_t>(text.size()) - static_cast<std::int64_t>(gt) - 2);
  }
}

WindowMessage ParseWindowMessage(std::string_view parameter) {
  WindowMessage message;
  const std::size_t comma = parameter.find(',');
  const std::string name =
      UpperCase1251(parameter.substr(0, comma == std::string_view::npos ? 0 : comma));
  if (name == "WM_COMMAND") {
    message.Message = WmCommand;
  } else if (name == "WM_CLOSE") {
    message.Message = WmClose;
  }
  message.Ok = message.Message != 0;
  const std::string_view rest =
      comma == std::string_view::npos ? std::string_view() : parameter.substr(comma + 1);
  const std::size_t second = rest.find(',');
  message.WParam =
      NumberOr0(second == std::string_view::npos ? std::string_view() : rest.substr(0, second));
  message.LParam = NumberOr0(second == std::string_view::npos ? rest : rest.substr(second + 1));
  return message;
}

}  // namespace quillon
