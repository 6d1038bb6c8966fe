#include "quillon-tool/Json.h"

#include <cstdio>

namespace quillon::tool {

void Json::Separate() {
  if (NeedComma) Out += ',';
  NeedComma = true;
}

Json& Json::BeginObject() {
  Separate();
  Out += '{';
  NeedComma = false;
  return *this;
}

Json& Json::EndObject() {
  Out += '}';
  NeedComma = true;
  return *this;
}

Json& Json::BeginArray() {
  Separate();
  Out += '[';
  NeedComma = false;
  return *this;
}

Json& Json::EndArray() {
  Out += ']';
  NeedComma = true;
  return *this;
}

Json& Json::Key(std::string_view key) {
  String(key);
  Out += ':';
  NeedComma = false;
  return *this;
}

Json& Json::String(std::string_view utf8) {
  Separate();
  Out += '"';
  for (const char c : utf8) {
    switch (c) {
      case '"':
        Out += "\\\"";
        break;
      case '\\':
        Out += "\\\\";
        break;
      case '\n':
        Out += "\\n";
        break;
      case '\r':
        Out += "\\r";
        break;
      case '\t':
        Out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          Out += escaped;
        } else {
          Out += c;
        }
    }
  }
  Out += '"';
  return *this;
}

Json& Json::Number(std::int64_t value) {
  Separate();
  Out += std::to_string(value);
  return *this;
}

Json& Json::Bool(bool value) {
  Separate();
  Out += value ? "true" : "false";
  return *this;
}

Json& Json::Null() {
  Separate();
  Out += "null";
  return *this;
}

}  // namespace quillon::tool
