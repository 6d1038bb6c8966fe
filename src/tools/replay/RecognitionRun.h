#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/learning/CurrentRemote.h"
#include "core/receiver/KeyMatcher.h"

namespace quillon {

// What key dispatch made of one burst: the code, the repeat verdict and the key found.
struct Dispatch {
  std::string Code;
  bool Repeat = false;
  KeyMatch Match;
};

// The program in normal running over a loaded remote, on virtual time: presses reach the
// receive pipeline in receive mode 0 as the remote's receiver delivers them (edges from the
// bare receiver; the simulator's lines through the receiver protocol when the remote was
// learned with a microcontroller receiver, tuned to its T and key timer), and every burst goes
// through key dispatch with an empty configuration, the remote's button templates in use. The
// dispatcher's state (LastKey) carries from one press to the next, as in the program.
class RecognitionRun {
 public:
  RecognitionRun(CurrentRemote& remote, bool multiLevelCoding);
  ~RecognitionRun();
  RecognitionRun(const RecognitionRun&) = delete;
  RecognitionRun& operator=(const RecognitionRun&) = delete;

  // One press, then a quiet second: every burst dispatched meanwhile, in order.
  std::vector<Dispatch> Press(std::span<const std::int64_t> durations);

  // The key matcher of the dispatcher, which uses the remote's button templates when it has
  // any: its arbitration and tolerances can be changed between presses.
  KeyMatcher& Matcher();

 private:
  struct Parts;
  std::unique_ptr<Parts> The;
};

// Which names stand for one button: a label recorded with the code of another (same_as) is
// scored as that one. Names are compared as the key table stores them (LearnedName).
class NameClasses {
 public:
  void Join(std::string_view label, std::string_view other);
  bool Same(std::string_view label, std::string_view name) const;

 private:
  std::string Root(std::string name) const;
  std::map<std::string, std::string> Parent;
};

enum class Verdict : std::uint8_t { Correct, Wrong, Unrecognized, Unlabelled };

// The outcome of one labelled press and the dispatch that decides it: the first that found a
// key of another button (wrong), else the first that found a key (correct), else none
// (unrecognized, with the first non-empty code seen). A press whose label names no learned
// key is unlabelled, whatever it found.
struct PressOutcome {
  Verdict Of = Verdict::Unrecognized;
  std::optional<std::int32_t> Key;
  std::string Name;
  std::string Code;
  bool Repeat = false;
};

PressOutcome JudgePress(std::string_view label, const std::vector<Dispatch>& dispatches,
                        const RemoteData& remote, const NameClasses& classes);

}  // namespace quillon
