#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/common/CommandRecord.h"
#include "core/common/Language.h"
#include "core/config/ConfigTree.h"
#include "core/learning/RemoteData.h"
#include "core/receiver/BurstConsumers.h"
#include "core/receiver/KeyMatcher.h"
#include "core/receiver/ReceivePipeline.h"
#include "core/shell/HintDisplay.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"

namespace quillon {

// Carries out the command a key found.
class CommandExecutor {
 public:
  virtual ~CommandExecutor() = default;
  virtual void ExecuteCommand(const CommandRecord& record) = 0;
};

// The settings and state key dispatch reads at each key.
struct DispatchOptions {
  bool ShowUnknownButton = false;
  LanguageFlag Language = English;
};

struct CommandLookup {
  CommandRecord Record;
  std::string Hint;  // lines separated by CR
};

// Turns a received key code into one action: the key of the learned remote, its command in the
// configuration tree with the open group keys in force, the hint of what happens, and the
// executor. Group keys make the remote modal: a group key opens its group, whose own key list
// then answers, until the group key is pressed again.
class CommandDispatcher : public KeyDispatcher {
 public:
  static constexpr std::int32_t MaxGroups = 100;  // group table entries; 99 groups can be open
  static constexpr std::uint32_t FirstHintInterval = 3000;

  CommandDispatcher(ReceivePipeline& pipeline, const ConfigTree& tree, const RemoteData& remote,
                    HintDisplay& display, CommandExecutor& executor, platform::EventLoop& loop,
                    const platform::Clock& clock, const DispatchOptions& options);

  // One burst's key code and repeat-frame verdict (reception is off meanwhile).
  void KeyDispatch(const std::string& code, bool repeatFrame) override;

  // The command of key number `key` for the groups in force; opens or closes a group when the
  // key is a group key.
  CommandLookup FindCommand(std::int32_t key);

  // Closes every group: a newly loaded configuration starts at its root.
  void ResetGroups();

  // The hint closes this long after a key (ShowHintTime seconds).
  void SetHintInterval(std::uint32_t milliseconds) { Timer2->SetInterval(milliseconds); }

  // The learned remote's key matcher; the receive pipeline asks it for the repeat verdict.
  KeyMatcher Matcher;

  std::string LastCode;
  KeyMatch LastMatch;  // the key the last code found, if any
  std::int32_t GroupDepth = 0;
  std::array<std::int32_t, MaxGroups> GroupLevels{};
  std::array<std::string, MaxGroups> GroupTexts{};

 private:
  std::string KeyLabel(std::int32_t key) const;

  ReceivePipeline& Pipeline;
  const ConfigTree& Tree;
  const RemoteData& Remote;
  HintDisplay& Display;
  CommandExecutor& Executor;
  platform::EventLoop& Loop;
  const platform::Clock& Clock;
  const DispatchOptions& Options;
  std::unique_ptr<platform::Timer> Timer2;  // closes the hint
};

}  // namespace quillon
