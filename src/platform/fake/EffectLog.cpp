#include "platform/fake/EffectLog.h"

namespace quillon::platform {

namespace {

std::string ValueText(const EffectValue& value) {
  if (const auto* number = std::get_if<std::int64_t>(&value)) return std::to_string(*number);
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? "true" : "false";
  return "\"" + std::get<std::string>(value) + "\"";
}

}  // namespace

std::string Effect::Text() const {
  std::string text = Name;
  for (const EffectField& field : Fields) text += " " + field.Name + "=" + ValueText(field.Value);
  return text;
}

std::vector<std::string> EffectLog::Texts(std::size_t from) const {
  std::vector<std::string> texts;
  for (std::size_t i = from; i < Entries.size(); ++i) texts.push_back(Entries[i].Text());
  return texts;
}

}  // namespace quillon::platform
