#pragma once

#include "core/common/Language.h"

namespace quillon {

// The captions and the message of the audio window.
enum class AudioText {
  Caption,
  VolumeLabel,
  BalanceLabel,
  StepLabel,
  VolumeDownButton,
  VolumeUpButton,
  LeftButton,
  RightButton,
  MuteButton,
  CloseButton,
  HelpButton,
  NoMixer,
  Count
};

inline constexpr TextTable<AudioText> AudioTexts = {{
    {"Audio commands", "Звук команди"},
    {"Volume:", "Сила на звука:"},
    {"Balance:", "Баланс:"},
    {"     step: ", "стъпка: "},
    {"<< Vol-", "<<  Звук-"},
    {"<< Vol+", "<<  Звук+"},
    {"<< Left", "<<  Ляво"},
    {"<< Right", "<<  Дясно"},
    // The mute button keeps its caption in both languages.
    {"<< Mute", "<< Mute"},
    {"Close", "Затвори"},
    {"Help", "Помощ"},
    {"No mixer present in the system !", "Няма открит \"AUDIO MIXER\" !"},
}};

inline std::string_view Text(AudioText role, LanguageFlag language) {
  return Text(AudioTexts, role, language);
}

}  // namespace quillon
