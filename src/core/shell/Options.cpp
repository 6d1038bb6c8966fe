#include "core/shell/Options.h"

#include <array>
#include <variant>

namespace quillon {

namespace {

struct IntegerField {
  const IntegerSetting* Setting;
  std::int32_t Options::*Field;
};

struct BoolField {
  const BoolSetting* Setting;
  bool Options::*Field;
};

using OptionField = std::variant<IntegerField, BoolField>;

// Every option with its stored value, in the order of reading and writing.
constexpr std::array<OptionField, 17> OptionFields = {
    IntegerField{&settings::StartTime, &Options::StartTime},
    IntegerField{&settings::CloseTime, &Options::CloseTime},
    IntegerField{&settings::StartApplication, &Options::StartApplication},
    IntegerField{&settings::StartWindows, &Options::StartWindows},
    IntegerField{&settings::SignalLength, &Options::SignalLength},
    IntegerField{&settings::ImpulseNumber, &Options::ImpulseNumber},
    IntegerField{&settings::KeysDelay, &Options::KeysDelay},
    IntegerField{&settings::MouseStep, &Options::MouseStep},
    BoolField{&settings::ShowHint, &Options::ShowHint},
    BoolField{&settings::ShowUnknownButton, &Options::ShowUnknownButton},
    BoolField{&settings::LookForPTK, &Options::LookForPTK},
    BoolField{&settings::CPUSpeedWarning, &Options::CPUSpeedWarning},
    IntegerField{&settings::ShowHintTime, &Options::ShowHintTime},
    IntegerField{&settings::StartError, &Options::StartError},
    IntegerField{&settings::MaxValueError, &Options::MaxValueError},
    IntegerField{&settings::ImpulseDiv, &Options::ImpulseDiv},
    IntegerField{&settings::DifferentImp, &Options::DifferentImp},
};

// The marked options, indexed by MarkedOption.
constexpr std::array<IntegerField, 12> MarkedFields = {
    IntegerField{&settings::StartTime, &Options::StartTime},
    IntegerField{&settings::CloseTime, &Options::CloseTime},
    IntegerField{&settings::StartApplication, &Options::StartApplication},
    IntegerField{&settings::StartWindows, &Options::StartWindows},
    IntegerField{&settings::SignalLength, &Options::SignalLength},
    IntegerField{&settings::ImpulseNumber, &Options::ImpulseNumber},
    IntegerField{&settings::MouseStep, &Options::MouseStep},
    IntegerField{&settings::ShowHintTime, &Options::ShowHintTime},
    IntegerField{&settings::StartError, &Options::StartError},
    IntegerField{&settings::MaxValueError, &Options::MaxValueError},
    IntegerField{&settings::ImpulseDiv, &Options::ImpulseDiv},
    IntegerField{&settings::DifferentImp, &Options::DifferentImp},
};
static_assert(static_cast<std::size_t>(MarkedOption::DifferentImp) + 1 == MarkedFields.size());

}  // namespace

Options ReadOptions(platform::Registry& registry) {
  Options options;
  auto key = registry.OpenKey(ProductKey);
  if (!key) {
    options.ImpulseDiv = ImpulseDivWithoutStore;
    return options;
  }
  for (const OptionField& field : OptionFields) {
    std::visit([&](const auto& f) { options.*f.Field = ReadSetting(*key.Value(), *f.Setting); },
               field);
  }
  // Closing saves at most the key's creation; settings failures are silent.
  static_cast<void>(key.Value()->Close());
  return options;
}

Result<Done> WriteOptions(platform::Registry& registry, const Options& options) {
  auto key = registry.OpenKey(ProductKey);
  if (!key) return Error{key.ErrorMessage()};
  for (const OptionField& field : OptionFields) {
    std::visit([&](const auto& f) { WriteSetting(*key.Value(), *f.Setting, options.*f.Field); },
               field);
  }
  return key.Value()->Close();
}

void SetDefaults(Options& options) { options = Options{}; }

bool IsChanged(const Options& options, MarkedOption option) {
  const IntegerField& field = MarkedFields[static_cast<std::size_t>(option)];
  return options.*field.Field != field.Setting->Default;
}

ReceiveSettings ToReceiveSettings(const Options& options) {
  ReceiveSettings receive;
  receive.SignalLength = options.SignalLength;
  receive.ImpulseNumber = options.ImpulseNumber;
  receive.Decoder.MaxValueError = options.MaxValueError;
  receive.Decoder.StartError = options.StartError;
  receive.Decoder.DifferentImp = options.DifferentImp;
  return receive;
}

}  // namespace quillon
