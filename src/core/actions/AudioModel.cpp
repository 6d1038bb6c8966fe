#include "core/actions/AudioModel.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <utility>

#include "core/shell/Settings.h"

namespace quillon {

namespace {

constexpr std::array<std::pair<AudioAction, std::string_view>, 5> ActionNames = {{
    {AudioAction::VolumeUp, "Volume+"},
    {AudioAction::VolumeDown, "Volume-"},
    {AudioAction::BalanceLeft, "BalanceLeft"},
    {AudioAction::BalanceRight, "BalanceRight"},
    {AudioAction::Mute, "Mute"},
}};

std::int32_t IndexOf(const std::vector<std::string>& list, std::string_view text) {
  const auto found = std::ranges::find(list, text);
  return found == list.end() ? -1 : static_cast<std::int32_t>(found - list.begin());
}

bool Within(const std::vector<std::string>& list, std::int32_t index) {
  return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

std::string_view EntryText(const std::vector<std::string>& list, std::int32_t index) {
  return Within(list, index) ? std::string_view(list[static_cast<std::size_t>(index)])
                             : std::string_view();
}

}  // namespace

std::string_view AudioActionName(AudioAction action) {
  return std::ranges::find(ActionNames, action, &std::pair<AudioAction, std::string_view>::first)
      ->second;
}

std::optional<AudioAction> FindAudioAction(std::string_view name) {
  const auto found =
      std::ranges::find(ActionNames, name, &std::pair<AudioAction, std::string_view>::second);
  if (found == ActionNames.end()) return std::nullopt;
  return found->first;
}

AudioCommandParts SplitAudioCommand(std::string_view parameter) {
  std::array<std::string, 4> parts;
  std::size_t end = parameter.size();
  for (std::size_t part = 3; part > 0; --part) {
    const std::size_t slash = end == 0 ? std::string_view::npos : parameter.rfind('/', end - 1);
    if (slash == std::string_view::npos) {
      parts[part] = std::string(parameter.substr(0, end));
      end = 0;
      break;
    }
    parts[part] = std::string(parameter.substr(slash + 1, end - slash - 1));
    end = slash;
  }
  parts[0] = std::string(parameter.substr(0, end));
  return {std::move(parts[0]), std::move(parts[1]), std::move(parts[2]), std::move(parts[3])};
}

AudioModel::AudioModel(platform::Mixer& mixer, platform::Registry& registry)
    : Mixer(mixer),
      Registry(registry),
      VolumeStep(ReadValue(registry, settings::VolumeStep)),
      BalanceStep(ReadValue(registry, settings::BalanceStep)) {
  Mixer.OnControlChange = [this] { LoadLine(); };
  for (std::int32_t device = 0; device < Mixer.MixerCount(); ++device) {
    Mixers.push_back("Mixer " + std::to_string(device));
  }
  SelectMixer(Mixers.empty() ? -1 : 0);
}

void AudioModel::SelectMixer(std::int32_t index) {
  MixerItem = Within(Mixers, index) ? index : -1;
  if (MixerItem >= 0) Mixer.SetMixerId(MixerItem);
  if (Mixer.MixerCount() == 0) {
    NoMixer = true;
    VolumeOn = false;
    MuteOn = false;
    return;
  }
  Destinations.clear();
  for (const platform::MixerDestination& destination : Mixer.Destinations()) {
    Destinations.push_back(destination.Line.Name);
  }
  SelectDestination(Destinations.empty() ? -1 : 0);
}

void AudioModel::SelectDestination(std::int32_t index) {
  DestinationItem = Within(Destinations, index) ? index : -1;
  Lines.clear();
  if (DestinationItem >= 0) {
    const platform::MixerDestination& destination =
        Mixer.Destinations()[static_cast<std::size_t>(DestinationItem)];
    Lines.push_back(destination.Line.Name);
    for (const platform::MixerLine& source : destination.Sources) Lines.push_back(source.Name);
  }
  SelectLine(Lines.empty() ? -1 : 0);
}

void AudioModel::SelectLine(std::int32_t index) {
  LineItem = Within(Lines, index) ? index : -1;
  LoadLine();
}

// Positions from channel volumes: the volume is the louder channel, the balance how much the
// right one is louder than the left.
void AudioModel::LoadLine() {
  if (DestinationItem < 0 || LineItem < 0) return;
  Updating = true;
  const LineVolume read = Mixer.GetVolume(DestinationItem, LineItem - 1);
  VolumeOn = (read.Left >= 0 || read.Right >= 0) && !read.VolumeDisabled;
  BalanceOn = read.TwoChannels;
  ButtonsOn = !read.VolumeDisabled;
  VolumePosition = std::clamp(std::max(read.Left, read.Right), 0, MaxVolume);
  RefitBalance();
  // Set after the refit, so that what was read shows unscaled.
  BalancePosition = std::clamp(read.Right - read.Left, -BalanceRange, BalanceRange);
  MuteOn = read.Mute >= 0 && !read.MuteDisabled;
  MuteBox = read.Mute == 1;
  Updating = false;
}

// The balance range follows the volume, keeping the balance in proportion; a balance that
// becomes less than a hundredth of the range is taken for the centre.
void AudioModel::RefitBalance() {
  const std::int32_t oldRange = BalanceRange;
  if (VolumePosition == 0) {
    BalanceRange = MaxVolume;
    BalancePosition = 0;
    return;
  }
  BalanceRange = VolumePosition;
  if (BalancePosition == 0) return;
  BalancePosition =
      static_cast<std::int32_t>(std::int64_t{BalancePosition} * VolumePosition / oldRange);
  if (std::abs(BalancePosition) < BalanceRange / 100) BalancePosition = 0;
}

void AudioModel::WriteLine(std::int32_t mute, std::int32_t right, std::int32_t left) {
  Updating = true;
  Mixer.SetVolume(DestinationItem, LineItem - 1, mute, right, left);
  Updating = false;
}

// Channel volumes from positions: the balance turns down the channel on the other side.
void AudioModel::VolumeChange(std::int32_t position) {
  VolumePosition = std::clamp(position, 0, MaxVolume);
  if (Updating) return;
  RefitBalance();
  const std::int32_t left = VolumePosition - std::max(BalancePosition, 0);
  const std::int32_t right = VolumePosition + std::min(BalancePosition, 0);
  WriteLine(MuteBox ? 1 : 0, right, left);
}

void AudioModel::BalanceChange(std::int32_t position) {
  BalancePosition = std::clamp(position, -BalanceRange, BalanceRange);
  if (Updating) return;
  VolumeChange(VolumePosition);
}

// The mute write sets both channels to the volume position: it does not keep the balance.
void AudioModel::MuteChange(bool checked) {
  MuteBox = checked;
  if (Updating) return;
  WriteLine(checked ? 1 : 0, VolumePosition, VolumePosition);
}

void AudioModel::SetAudioStep(std::int32_t percent) {
  VolumeStep = Clamp(settings::VolumeStep, percent);
}

void AudioModel::SetBalStep(std::int32_t percent) {
  BalanceStep = Clamp(settings::BalanceStep, percent);
}

Result<Done> AudioModel::SaveSteps() const {
  auto key = Registry.OpenKey(ProductKey);
  if (!key) return Error{key.ErrorMessage()};
  WriteSetting(*key.Value(), settings::VolumeStep, VolumeStep);
  WriteSetting(*key.Value(), settings::BalanceStep, BalanceStep);
  return key.Value()->Close();
}

// Integer divisions truncate toward zero.
void AudioModel::Apply(AudioAction action) {
  const std::int32_t volumeStep = VolumeStep * MaxVolume / 100;
  const std::int32_t balanceStep = BalanceRange * BalanceStep / 100;
  const auto centred = [balanceStep](std::int32_t balance) {
    return std::abs(balance) < balanceStep ? 0 : balance;
  };
  switch (action) {
    case AudioAction::VolumeUp:
      VolumeChange(VolumePosition >= MaxVolume - volumeStep ? MaxVolume
                                                            : VolumePosition + volumeStep);
      break;
    case AudioAction::VolumeDown:
      VolumeChange(VolumePosition < volumeStep ? 0 : VolumePosition - volumeStep);
      break;
    case AudioAction::BalanceRight:
      BalanceChange(centred(BalancePosition < BalanceRange - balanceStep
                                ? BalancePosition + balanceStep
                                : BalanceRange));
      break;
    case AudioAction::BalanceLeft:
      BalanceChange(centred(std::max(BalancePosition - balanceStep, -BalanceRange)));
      break;
    case AudioAction::Mute:
      MuteChange(!MuteBox);
      break;
  }
}

void AudioModel::ExecuteAudioCommand(const std::string& parameter) {
  const AudioCommandParts parts = SplitAudioCommand(parameter);

  const std::int32_t mixer = IndexOf(Mixers, parts.Device);
  if (mixer < 0) {
    MixerItem = -1;
  } else if (mixer != MixerItem) {
    SelectMixer(mixer);
  }
  const std::int32_t destination = IndexOf(Destinations, parts.Destination);
  if (destination < 0) {
    DestinationItem = -1;
  } else if (destination != DestinationItem) {
    SelectDestination(destination);
  }
  // The line is loaded again even when it is the one shown, so that the action starts from
  // the mixer's present state.
  const std::int32_t line = IndexOf(Lines, parts.Line);
  if (line < 0) {
    LineItem = -1;
  } else {
    SelectLine(line);
  }

  if (const auto action = FindAudioAction(parts.Action)) Apply(*action);
}

std::string AudioModel::CommandParameter(AudioAction action) const {
  std::string parameter(EntryText(Mixers, MixerItem));
  for (const std::string_view part : {EntryText(Destinations, DestinationItem),
                                      EntryText(Lines, LineItem), AudioActionName(action)}) {
    parameter += '/';
    parameter += part;
  }
  return parameter;
}

}  // namespace quillon
