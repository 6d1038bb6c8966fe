#pragma once

#include <cstdint>

#include "core/common/Result.h"
#include "core/receiver/ReceivePipeline.h"
#include "core/shell/Settings.h"
#include "platform/Registry.h"

namespace quillon {

// The current values of the options dialog (TFormOptions). The program has one instance for
// its whole run, and every part reads the current value from it; a new instance holds the
// defaults, which is also what the dialog's "Default" button restores.
struct Options {
  std::int32_t StartTime = settings::StartTime.Default;                // s, StartTimeValue
  std::int32_t CloseTime = settings::CloseTime.Default;                // s, CloseTimeValue
  std::int32_t StartApplication = settings::StartApplication.Default;  // s
  std::int32_t StartWindows = settings::StartWindows.Default;          // s, "StartWindow(s)"
  std::int32_t SignalLength = settings::SignalLength.Default;          // ms, SignalLen
  std::int32_t ImpulseNumber = settings::ImpulseNumber.Default;        // pulses, ImpulseNum
  std::int32_t KeysDelay = settings::KeysDelay.Default;                // ms, KeyTime
  std::int32_t MouseStep = settings::MouseStep.Default;                // ms
  bool ShowHint = settings::ShowHint.Default;                          // CheckBox1
  bool ShowUnknownButton = settings::ShowUnknownButton.Default;
  bool LookForPTK = settings::LookForPTK.Default;
  bool CPUSpeedWarning = settings::CPUSpeedWarning.Default;
  std::int32_t ShowHintTime = settings::ShowHintTime.Default;    // s, ShowTime
  std::int32_t StartError = settings::StartError.Default;        // %
  std::int32_t MaxValueError = settings::MaxValueError.Default;  // %
  std::int32_t ImpulseDiv = settings::ImpulseDiv.Default;        // pulses, ImpDiv
  std::int32_t DifferentImp = settings::DifferentImp.Default;    // kinds, DiffImp

  bool operator==(const Options&) const = default;
};

// What ImpulseDiv reads when the product key cannot be opened: the control's design-time value,
// one less than its default, so the dialog marks it as changed.
inline constexpr std::int32_t ImpulseDivWithoutStore = 2;

// Opens the product key (creating it) and reads every option; a value that is missing or of
// another type reads as its default, a number out of range as the nearest bound. When the key
// cannot be opened every option takes its default, but ImpulseDiv takes 2.
Options ReadOptions(platform::Registry& registry);

// Opens the product key (creating it) and writes every option. When the key cannot be opened
// nothing is written; the caller decides whether to say so (the windows stay silent).
Result<Done> WriteOptions(platform::Registry& registry, const Options& options);

// The "Default" button: every option to its default, KeysDelay 1 included. Nothing is written.
void SetDefaults(Options& options);

// The spin values whose dialog label shows whether they hold their default (black) or not
// (red). KeysDelay and the check boxes carry no mark.
enum class MarkedOption : std::uint8_t {
  StartTime,
  CloseTime,
  StartApplication,
  StartWindows,
  SignalLength,
  ImpulseNumber,
  MouseStep,
  ShowHintTime,
  StartError,
  MaxValueError,
  ImpulseDiv,
  DifferentImp,
};

// True when the option differs from its default: its label is red.
bool IsChanged(const Options& options, MarkedOption option);

// The values the receive pipeline and its decoders take from the options.
ReceiveSettings ToReceiveSettings(const Options& options);

}  // namespace quillon
