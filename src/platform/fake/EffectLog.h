#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace quillon::platform {

// One named value of an effect: a number, a yes/no or a text (UTF-8).
using EffectValue = std::variant<std::int64_t, bool, std::string>;

struct EffectField {
  std::string Name;
  EffectValue Value;
  bool operator==(const EffectField&) const = default;
};

// One thing a fake backend was asked to do, such as a key pressed or a window activated: its
// name and its fields, in the order they print.
struct Effect {
  std::string Name;
  std::vector<EffectField> Fields;
  bool operator==(const Effect&) const = default;

  // One line: the name, then each field as name=value, texts in double quotes
  // ("key vk=65 scan=30 up=false").
  std::string Text() const;
};

// The ordered record shared by the fake keyboard, mouse, desktop, launcher and system
// control, so that tests assert what happened in which order and dry runs print it. The
// field names are stable: `quillon-tool dispatch --dry-run --json` writes them as keys.
class EffectLog {
 public:
  void Add(Effect effect) { Entries.push_back(std::move(effect)); }
  const std::vector<Effect>& Effects() const { return Entries; }
  std::size_t Size() const { return Entries.size(); }
  void Clear() { Entries.clear(); }

  // The texts of the effects from index `from` on.
  std::vector<std::string> Texts(std::size_t from = 0) const;

 private:
  std::vector<Effect> Entries;
};

}  // namespace quillon::platform
