#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/learning/RemoteData.h"
#include "core/receiver/BurstConsumers.h"
#include "core/receiver/PulseTrain.h"
#include "core/recognition/TemplateMatcher.h"

namespace quillon {

// The outcome of a key lookup.
struct KeyMatch {
  bool Found = false;
  std::int32_t KeyNumber = 0;  // the entry of the key table; only numbers above 0 are dispatched
  bool CloseHint = false;      // a repeat frame arrived with no key to repeat
};

// How the key lookup and the button templates combine when the remote has templates.
enum class Arbitration : std::uint8_t {
  TemplatesDecide,    // the templates' answer alone
  LookupFirst,        // the lookup, and the templates where it finds nothing
  TemplatesOverrule,  // a template key first, else the lookup, else a template repeat
};

// Recognises a decoded key code as a button of the current remote, and a held button by the
// short repeat frame some remotes send. With button templates (the remote's companion file),
// each burst is also matched against them and the arbitration decides.
class KeyMatcher : public RepeatFrameJudge {
 public:
  explicit KeyMatcher(const RemoteData& remote) : Remote(remote) {}

  // The templates of the remote in use; none, or empty ones, leave the lookup alone. They
  // must outlive the matcher or be replaced.
  void UseTemplates(const RemoteTemplates* templates) { Templates = templates; }

  // Whether the burst looks like the remote's repeat frame: its reference durations, at least
  // two of them, within 30 % of consecutive captured durations. A burst of 20 or more
  // durations is a full code, after which no repeat frame repeats anything. With templates,
  // the burst is matched against them here too, for the Lookup that follows.
  bool RepeatFrameVerdict(const PulseTrain& train) override;

  // Whether the burst judged last has a template answer waiting for Lookup.
  bool TemplateAnswerPending() const { return Pending.has_value(); }

  // Finds the key of `code`: first among the lock-up pairs (a code two keys shared when they
  // were learned: the later key of the pair wins), then in the key table (the last matching
  // entry, which becomes LastKey), then, for a repeat frame, the last key matched.
  // With a template answer pending, the arbitration combines the two and the answer is used.
  KeyMatch Lookup(const std::string& code, bool repeatFrame);

  std::int32_t LastKey = -1;          // the key last matched in the key table; -1 for none
  std::int32_t LastTemplateKey = -1;  // the key last found by the templates; -1 for none
  MatchSettings TemplateSettings;
  Arbitration Arbitrate = Arbitration::TemplatesDecide;

 private:
  KeyMatch CodeLookup(const std::string& code, bool repeatFrame);
  KeyMatch TemplateLookup(const TemplateMatch& answer, bool repeatFrame);

  const RemoteData& Remote;
  const RemoteTemplates* Templates = nullptr;
  std::optional<TemplateMatch> Pending;
};

}  // namespace quillon
