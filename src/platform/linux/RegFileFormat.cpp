#include "platform/linux/RegFileFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "core/common/Utf8.h"
#include "platform/Registry.h"

namespace quillon::platform {

namespace {

constexpr std::string_view Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view ByteOrderMark16 = "\xFF\xFE";
constexpr std::string_view ByteOrderMark8 = "\xEF\xBB\xBF";
constexpr std::string_view HexDigits = "0123456789abcdef";
constexpr std::uint32_t TextType = 1;  // REG_SZ, in the "hex(1):" form

// Each byte that does not start a well-formed UTF-8 sequence becomes '?'. A well-formed
// U+FFFD is a character like any other: only a malformed byte moves on by one.
std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t start = i;
    char32_t c = NextCodePoint(utf8, i);
    if (c == Replacement && i - start == 1) c = u'?';
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

// An unpaired surrogate becomes '?'.
std::string Utf16ToUtf8(std::u16string_view utf16) {
  const auto isHigh = [](char32_t c) { return c >= 0xD800 && c <= 0xDBFF; };
  const auto isLow = [](char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
  std::string out;
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (isHigh(c) && i + 1 < utf16.size() && isLow(utf16[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    } else if (isHigh(c) || isLow(c)) {
      c = '?';
    }
    AppendUtf8(out, c);
  }
  return out;
}

// Little-endian code units; an odd last byte is dropped.
std::u16string FromLittleEndian(std::string_view bytes) {
  std::u16string out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                 (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return out;
}

std::string ToLittleEndian(std::u16string_view utf16) {
  std::string out;
  for (const char16_t unit : utf16) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  }
  return out;
}

// The file as UTF-8 text with every malformed sequence replaced.
std::string FileText(std::string_view bytes) {
  if (bytes.starts_with(ByteOrderMark16)) {
    return Utf16ToUtf8(FromLittleEndian(bytes.substr(ByteOrderMark16.size())));
  }
  if (bytes.starts_with(ByteOrderMark8)) bytes.remove_prefix(ByteOrderMark8.size());
  return Utf16ToUtf8(Utf8ToUtf16(bytes));
}

std::string_view Trim(std::string_view text) {
  constexpr std::string_view Blanks = " \t\r";
  const auto first = text.find_first_not_of(Blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameRegistryName(text.substr(0, prefix.size()), prefix);
}

std::optional<std::uint32_t> ParseHex(std::string_view digits, std::size_t maxDigits) {
  std::uint32_t value = 0;
  const char* end = digits.data() + digits.size();
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  const auto [stop, error] = std::from_chars(digits.data(), end, value, 16);
  if (error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

// A comma-separated list of byte values in hex, as the hex forms hold; spaces are allowed.
std::optional<std::string> ParseHexBytes(std::string_view list) {
  std::string bytes;
  if (Trim(list).empty()) return bytes;
  while (true) {
    const auto comma = list.find(',');
    const auto value = ParseHex(Trim(list.substr(0, comma)), 2);
    if (!value) return std::nullopt;
    bytes += static_cast<char>(*value);
    if (comma == std::string_view::npos) return bytes;
    list.remove_prefix(comma + 1);
  }
}

std::string FormatHexBytes(std::string_view bytes) {
  std::string out;
  for (const char byte : bytes) {
    if (!out.empty()) out += ',';
    out += HexDigits[static_cast<unsigned char>(byte) >> 4];
    out += HexDigits[static_cast<unsigned char>(byte) & 0xF];
  }
  return out;
}

// Takes a quoted text from the front of `text`. Inside, regedit escapes '\' and '"' with a
// backslash; any other backslash stands for itself.
std::optional<std::string> TakeQuoted(std::string_view& text) {
  if (!text.starts_with('"')) return std::nullopt;
  std::string out;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == '"') {
      text.remove_prefix(i + 1);
      return out;
    }
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
      ++i;
    }
    out += text[i];
  }
  return std::nullopt;
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + '"';
}

// Data in a hex form: "hex:" (binary) or "hex(<type in hex>):", then the bytes.
struct HexForm {
  std::optional<std::uint32_t> Type;
  std::string Bytes;
};

std::optional<HexForm> ParseHexForm(std::string_view data) {
  if (!StartsWithIgnoringCase(data, "hex")) return std::nullopt;
  data.remove_prefix(3);
  HexForm form;
  if (data.starts_with('(')) {
    const auto close = data.find(')');
    if (close == std::string_view::npos) return std::nullopt;
    form.Type = ParseHex(data.substr(1, close - 1), 8);
    if (!form.Type) return std::nullopt;
    data.remove_prefix(close + 1);
  }
  if (!data.starts_with(':')) return std::nullopt;
  auto bytes = ParseHexBytes(data.substr(1));
  if (!bytes) return std::nullopt;
  form.Bytes = std::move(*bytes);
  return form;
}

std::optional<RegValue> ParseData(std::string_view data) {
  if (data.starts_with('"')) {
    auto text = TakeQuoted(data);
    if (!text || !Trim(data).empty()) return std::nullopt;
    // A text ends at its first NUL, as a REG_SZ does and as the hex(1) form is read: a text
    // holding a NUL and a line break would otherwise lose its tail when rewritten.
    text->erase(std::min(text->find('\0'), text->size()));
    return RegValue{std::move(*text)};
  }
  if (StartsWithIgnoringCase(data, "dword:")) {
    const auto value = ParseHex(data.substr(6), 8);
    if (!value) return std::nullopt;
    return RegValue{*value};
  }
  const auto form = ParseHexForm(data);
  if (!form) return std::nullopt;
  if (form->Type != TextType) return RegValue{RegOtherData{std::string(data)}};
  if (form->Bytes.size() % 2 != 0) return std::nullopt;
  const std::u16string text = FromLittleEndian(form->Bytes);
  return RegValue{Utf16ToUtf8(text.substr(0, text.find(u'\0')))};
}

std::string FormatData(const RegValue& value) {
  if (const auto* number = std::get_if<std::uint32_t>(&value)) {
    std::string out = "dword:";
    for (int shift = 28; shift >= 0; shift -= 4) out += HexDigits[(*number >> shift) & 0xF];
    return out;
  }
  if (const auto* text = std::get_if<std::string>(&value)) {
    if (text->find_first_of("\r\n") == std::string::npos) return Quoted(*text);
    return "hex(1):" + FormatHexBytes(ToLittleEndian(Utf8ToUtf16(*text) + u'\0'));
  }
  return std::get<RegOtherData>(value).Text;
}

std::optional<std::string> TakeName(std::string_view& line) {
  if (line.starts_with('@')) {
    line.remove_prefix(1);
    return std::string();
  }
  return TakeQuoted(line);
}

}  // namespace

const RegValue* RegKey::Find(std::string_view name) const {
  for (const auto& [valueName, value] : Values) {
    if (SameRegistryName(valueName, name)) return &value;
  }
  return nullptr;
}

void RegKey::Set(std::string_view name, RegValue value) {
  for (auto& [valueName, stored] : Values) {
    if (SameRegistryName(valueName, name)) {
      stored = std::move(value);
      return;
    }
  }
  Values.emplace_back(std::string(name), std::move(value));
}

void RegKey::Erase(std::string_view name) {
  std::erase_if(Values, [name](const auto& entry) { return SameRegistryName(entry.first, name); });
}

RegKey* RegDocument::Find(std::string_view path) {
  for (RegKey& key : Keys) {
    if (SameRegistryName(TrimKeyPath(key.Path), TrimKeyPath(path))) return &key;
  }
  return nullptr;
}

RegKey& RegDocument::FindOrAdd(std::string_view path) {
  if (RegKey* key = Find(path)) return *key;
  return Keys.emplace_back(RegKey{std::string(TrimKeyPath(path)), {}});
}

RegDocument ParseRegFile(std::string_view bytes) {
  const std::string text = FileText(bytes);
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start <= text.size();) {
    const auto end = std::min(text.find('\n', start), text.size());
    lines.push_back(Trim(std::string_view(text).substr(start, end - start)));
    start = end + 1;
  }

  RegDocument document;
  RegKey* key = nullptr;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (line.starts_with('[')) {
      // The path as it is kept, without its outer backslashes: judged as such, so that no key
      // is read that would be written as "[]" or as a deletion entry.
      const std::string_view path = line.size() > 2 && line.ends_with(']')
                                        ? TrimKeyPath(line.substr(1, line.size() - 2))
                                        : std::string_view();
      const bool wellFormed = !path.empty() && !path.starts_with('-');
      key = wellFormed ? &document.FindOrAdd(path) : nullptr;
      continue;
    }
    auto name = TakeName(line);
    line = Trim(line);
    if (key == nullptr || !name || !line.starts_with('=')) continue;
    std::string data(Trim(line.substr(1)));
    // regedit wraps long hex data over lines that end in a backslash
    if (StartsWithIgnoringCase(data, "hex")) {
      while (data.ends_with('\\') && i + 1 < lines.size()) {
        data.pop_back();
        data += lines[++i];
      }
      // What stood before the last backslash may end in blanks: other data is kept as text,
      // and a rewrite must read back the same text.
      data = std::string(Trim(data));
    }
    if (auto value = ParseData(data)) key->Set(*name, std::move(*value));
  }
  return document;
}

std::string FormatRegFile(const RegDocument& document) {
  std::string text = std::string(Header) + "\r\n\r\n";
  for (const RegKey& key : document.Keys) {
    text += "[" + key.Path + "]\r\n";
    for (const auto& [name, value] : key.Values) {
      text += name.empty() ? "@" : Quoted(name);
      text += "=" + FormatData(value) + "\r\n";
    }
    text += "\r\n";
  }
  return std::string(ByteOrderMark16) + ToLittleEndian(Utf8ToUtf16(text));
}

}  // namespace quillon::platform
