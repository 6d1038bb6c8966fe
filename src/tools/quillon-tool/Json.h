#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::tool {

// A JSON text built in order: the tool only writes JSON, one object or one line at a time.
class Json {
 public:
  Json& BeginObject();
  Json& EndObject();
  Json& BeginArray();
  Json& EndArray();
  Json& Key(std::string_view key);
  Json& String(std::string_view utf8);
  Json& Number(std::int64_t value);
  Json& Bool(bool value);
  Json& Null();

  const std::string& Text() const { return Out; }

 private:
  void Separate();

  std::string Out;
  bool NeedComma = false;
};

}  // namespace quillon::tool
