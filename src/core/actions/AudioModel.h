#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/actions/AudioCommands.h"
#include "core/actions/AudioMixer.h"
#include "core/common/Result.h"
#include "platform/Mixer.h"
#include "platform/Registry.h"

namespace quillon {

// What an audio command does to its line, named in the command by the texts "Volume+",
// "Volume-", "BalanceLeft", "BalanceRight" and "Mute".
enum class AudioAction : std::uint8_t { VolumeUp, VolumeDown, BalanceLeft, BalanceRight, Mute };

std::string_view AudioActionName(AudioAction action);
// The action a command names by its exact text; none for any other text.
std::optional<AudioAction> FindAudioAction(std::string_view name);

// An audio command's parameter: "device/destination/line/action".
struct AudioCommandParts {
  std::string Device;
  std::string Destination;
  std::string Line;
  std::string Action;

  bool operator==(const AudioCommandParts&) const = default;
};

// Splits at the last three "/", so the device part keeps any "/" of its own. With fewer than
// three "/" the leading parts stay empty.
AudioCommandParts SplitAudioCommand(std::string_view parameter);

// The audio window's model: three lists that choose a mixer line, the line's volume and balance
// positions and its mute box. It is at once the editor of audio commands and the live state
// through which they act: a command selects its line in the lists, moves a position or toggles
// the mute box, and the change handlers write the result to the mixer. A change notification
// from the mixer reloads the shown line, so changes made by other programs show up and the
// next command starts from them. Every handler runs on the event loop's thread.
class AudioModel : public AudioCommands {
 public:
  static constexpr std::int32_t MaxVolume = 65535;

  // Lists the machine's mixers, selects the first and its first line, and reads the step sizes
  // ("VolumeStep", "BalanceStep").
  AudioModel(platform::Mixer& mixer, platform::Registry& registry);
  AudioModel(const AudioModel&) = delete;
  AudioModel& operator=(const AudioModel&) = delete;

  // "Mixer 0", "Mixer 1", ...: one entry per device.
  const std::vector<std::string>& MixerList() const { return Mixers; }
  // The destination names of the selected device.
  const std::vector<std::string>& DestinationList() const { return Destinations; }
  // The selected destination's own name, then its source lines: entry k stands for source
  // line k - 1.
  const std::vector<std::string>& LineList() const { return Lines; }
  // Selected entries; -1 for none.
  std::int32_t MixerIndex() const { return MixerItem; }
  std::int32_t DestinationIndex() const { return DestinationItem; }
  std::int32_t LineIndex() const { return LineItem; }

  // Selecting an entry of a list. A device fills the destination list and selects its first
  // entry; a destination fills the line list and selects its first entry; a line is loaded
  // into the positions and the mute box. An index outside the list selects nothing.
  void SelectMixer(std::int32_t index);
  void SelectDestination(std::int32_t index);
  void SelectLine(std::int32_t index);

  // The volume position, 0..MaxVolume.
  std::int32_t Volume() const { return VolumePosition; }
  // The balance position within BalanceMin()..BalanceMax(); 0 is the centre, a positive
  // balance turns the left channel down.
  std::int32_t Balance() const { return BalancePosition; }
  std::int32_t BalanceMin() const { return -BalanceRange; }
  std::int32_t BalanceMax() const { return BalanceRange; }
  bool Mute() const { return MuteBox; }

  // Moving the volume or balance position, or ticking the mute box (by the user or a command),
  // writes the selected line. A volume change refits the balance range first.
  void VolumeChange(std::int32_t position);
  void BalanceChange(std::int32_t position);
  void MuteChange(bool checked);

  // What can be used: the lists (all but the mixer list), the volume position, the balance
  // position, the volume and balance buttons, the mute box and its button.
  bool ListsEnabled() const { return !NoMixer; }
  bool VolumeEnabled() const { return VolumeOn; }
  bool BalanceEnabled() const { return BalanceOn; }
  bool VolumeButtonsEnabled() const { return ButtonsOn; }
  bool MuteEnabled() const { return MuteOn; }
  // The machine has no mixer; the window says so when it becomes active.
  bool NoMixerPresent() const { return NoMixer; }

  // Step sizes in percent, 1-50.
  std::int32_t AudioStep() const { return VolumeStep; }
  std::int32_t BalStep() const { return BalanceStep; }
  void SetAudioStep(std::int32_t percent);
  void SetBalStep(std::int32_t percent);
  // Stores the step sizes as "VolumeStep" and "BalanceStep".
  Result<Done> SaveSteps() const;

  // Applies an action to the positions of the selected line.
  void Apply(AudioAction action);

  // Selects the command's device, destination and line by their exact texts (no entry when
  // none equals a part; the action then works on the positions shown) and applies its action.
  void ExecuteAudioCommand(const std::string& parameter) override;

  // The parameter of an audio command for the selected entries and `action`.
  std::string CommandParameter(AudioAction action) const;

 private:
  void LoadLine();
  void RefitBalance();
  void WriteLine(std::int32_t mute, std::int32_t right, std::int32_t left);

  TAudioMixer Mixer;
  platform::Registry& Registry;

  std::vector<std::string> Mixers;
  std::vector<std::string> Destinations;
  std::vector<std::string> Lines;
  std::int32_t MixerItem = -1;
  std::int32_t DestinationItem = -1;
  std::int32_t LineItem = -1;

  std::int32_t VolumePosition = 0;
  std::int32_t BalancePosition = 0;
  std::int32_t BalanceRange = MaxVolume;
  bool MuteBox = false;

  bool NoMixer = false;
  bool VolumeOn = false;
  bool BalanceOn = false;
  bool ButtonsOn = false;
  bool MuteOn = false;

  std::int32_t VolumeStep;
  std::int32_t BalanceStep;

  // Set while the model writes to the mixer or reloads from it, so that the change handlers
  // the window calls back meanwhile do not write again.
  bool Updating = false;
};

}  // namespace quillon
