#pragma once

#include <cstdint>
#include <string>

#include "core/learning/RemoteData.h"
#include "core/receiver/BurstConsumers.h"
#include "core/receiver/PulseTrain.h"

namespace quillon {

// The outcome of a key lookup.
struct KeyMatch {
  bool Found = false;
  std::int32_t KeyNumber = 0;  // the entry of the key table; only numbers above 0 are dispatched
  bool CloseHint = false;      // a repeat frame arrived with no key to repeat
};

// Recognises a decoded key code as a button of the current remote, and a held button by the
// short repeat frame some remotes send.
class KeyMatcher : public RepeatFrameJudge {
 public:
  explicit KeyMatcher(const RemoteData& remote) : Remote(remote) {}

  // Whether the burst looks like the remote's repeat frame: its reference durations, at least
  // two of them, within 30 % of consecutive captured durations. A burst of 20 or more
  // durations is a full code, after which no repeat frame repeats anything.
  bool RepeatFrameVerdict(const PulseTrain& train) override;

  // Finds the key of `code`: first among the lock-up pairs (a code two keys shared when they
  // were learned: the later key of the pair wins), then in the key table (the last matching
  // entry, which becomes LastKey), then, for a repeat frame, the last key matched.
  KeyMatch Lookup(const std::string& code, bool repeatFrame);

  std::int32_t LastKey = -1;  // the key last matched in the key table; -1 for none

 private:
  const RemoteData& Remote;
};

}  // namespace quillon
