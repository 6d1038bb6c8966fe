#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "core/actions/ActionExecutor.h"
#include "core/actions/AudioCommands.h"
#include "core/actions/ShutDown.h"
#include "core/common/CommandRecord.h"
#include "core/common/Result.h"
#include "core/config/ConfigTree.h"
#include "core/config/KeyDispatch.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"

namespace quillon::tool {

// Records what one dispatched key showed and ran, and hands the command on to the executor
// when there is one.
struct Outcome : HintDisplay, CommandExecutor {
  void IRShowHint(const std::string& text) override { Hint = text; }
  void CloseHint() override { Hint.clear(); }
  void ExecuteCommand(const CommandRecord& record) override {
    Record = record;
    if (Executor != nullptr) Executor->ExecuteCommand(record);
  }
  void Reset() {
    Hint.clear();
    Record.reset();
  }
  std::string Hint;
  std::optional<CommandRecord> Record;
  CommandExecutor* Executor = nullptr;
};

// A key code as the receiver delivered it.
struct Received {
  std::string Code;
  bool Repeat = false;
};

// Prints what a dispatched key did: one line, or with `json` one object {press, key, hint,
// record, GroupDepth}, with the received code and repeat verdict after the press when given.
void PrintDispatch(std::size_t press, const std::optional<Received>& received,
                   const CommandDispatcher& dispatcher, const Outcome& outcome, bool json);

// Where commands are carried out: the real desktop (X11, the launcher, logind, ALSA, the
// settings file), or, for a dry run, an in-memory desktop that holds the program's own window
// and one window for each window name of the configuration, whose effects are printed.
class Execution {
 public:
  virtual ~Execution() = default;

  static Result<std::unique_ptr<Execution>> Real(platform::EventLoop& loop,
                                                 const platform::Clock& clock, Outcome& outcome,
                                                 LanguageFlag language);
  static std::unique_ptr<Execution> DryRun(platform::EventLoop& loop, const platform::Clock& clock,
                                           const ConfigTree& tree, Outcome& outcome,
                                           LanguageFlag language);

  virtual CommandExecutor& Executor() = 0;
  // The machine's screen, screen saver and power, as the commands see them.
  virtual platform::SystemControl& System() = 0;
  // A command ended the program (a shut-down countdown ran out).
  virtual bool Ended() const = 0;
  // Prints the effects since the last call (a dry run; nothing otherwise).
  virtual void PrintNewEffects(bool json) = 0;
  // Lets a shut-down countdown started by the last command run to its end or be cancelled.
  virtual void FinishCountdown() = 0;
};

}  // namespace quillon::tool
