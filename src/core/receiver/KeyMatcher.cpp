#include "core/receiver/KeyMatcher.h"

#include <algorithm>
#include <vector>

#include "platform/Clock.h"

namespace quillon {

namespace {

constexpr std::int32_t FullCode = 20;  // a burst this long is no repeat frame
constexpr std::size_t MaxCode = 255;   // key codes are stored cut to this length

// The last entry of table[0..count-1] with a code equal to `code`, -1 for none.
std::int32_t LastMatch(const std::array<LearnedKey, TableEntries>& table, std::int32_t count,
                       std::string_view code) {
  std::int32_t match = -1;
  for (std::int32_t e = 0; e < std::clamp(count, 0, TableEntries); ++e) {
    for (const auto& data : table[static_cast<std::size_t>(e)].Data) {
      if (data.Raw() == code) match = e;
    }
  }
  return match;
}

}  // namespace

bool KeyMatcher::RepeatFrameVerdict(const PulseTrain& train) {
  Pending.reset();
  if (Templates != nullptr && !Templates->Empty()) {
    constexpr std::int64_t ticksPerMicrosecond = platform::CounterTicksPerSecond / 1'000'000;
    std::vector<std::int64_t> microseconds(static_cast<std::size_t>(train.Size()));
    for (std::int32_t i = 0; i < train.Size(); ++i) {
      microseconds[static_cast<std::size_t>(i)] = train[i] / ticksPerMicrosecond;
    }
    Pending = MatchBurst(*Templates, microseconds, TemplateSettings);
    // As with the lookup, a full burst that found nothing leaves no key to repeat.
    if (Pending->Answer == TemplateAnswer::None && train.Size() >= FullCode) {
      LastTemplateKey = -1;
    }
  }
  const std::int32_t top = Remote.Repeat.RepeatTop;
  if (top < 1 || top > 19) return false;
  const std::int32_t captured = std::min(train.Size(), FullCode);
  if (captured == FullCode) LastKey = -1;

  const auto& reference = Remote.Repeat.RepeatFrame;
  std::int32_t length = top;
  std::int32_t offset = 0;
  while (length >= 1) {
    bool all = true;
    for (std::int32_t k = 0; k <= length && all; ++k) {
      const std::int32_t at = k + offset;
      const std::int64_t ref = reference[static_cast<std::size_t>(k)];
      all = at < captured && Percent(train[at], 70) <= ref && ref <= Percent(train[at], 130);
    }
    if (all) return true;
    ++offset;
    if (top + offset > captured) {
      offset = 0;
      --length;
    }
  }
  return false;
}

KeyMatch KeyMatcher::Lookup(const std::string& code, bool repeatFrame) {
  if (!Pending) return CodeLookup(code, repeatFrame);
  const TemplateMatch answer = *Pending;
  Pending.reset();
  switch (Arbitrate) {
    case Arbitration::TemplatesDecide:
      break;
    case Arbitration::LookupFirst:
      if (const KeyMatch match = CodeLookup(code, false); match.Found) {
        LastTemplateKey = match.KeyNumber;
        return match;
      }
      break;
    case Arbitration::TemplatesOverrule:
      if (answer.Answer == TemplateAnswer::Key) break;
      if (const KeyMatch match = CodeLookup(code, false); match.Found) {
        LastTemplateKey = match.KeyNumber;
        return match;
      }
      break;
  }
  return TemplateLookup(answer, repeatFrame);
}

KeyMatch KeyMatcher::TemplateLookup(const TemplateMatch& answer, bool repeatFrame) {
  KeyMatch match;
  if (answer.Answer == TemplateAnswer::Key) {
    LastTemplateKey = LastKey = answer.Key;
  } else if (answer.Answer == TemplateAnswer::Repeat || repeatFrame) {
    if (LastTemplateKey == -1) {
      match.CloseHint = true;
      return match;
    }
  } else {
    return match;
  }
  match.Found = true;
  match.KeyNumber = LastTemplateKey;
  return match;
}

KeyMatch KeyMatcher::CodeLookup(const std::string& code, bool repeatFrame) {
  KeyMatch match;
  if (!code.empty()) {
    const std::string_view stored = std::string_view(code).substr(0, MaxCode);
    const std::int32_t pair = LastMatch(Remote.LockUps, Remote.LockUpCount, stored);
    if (pair >= 1 && pair % 2 == 1 && pair + 1 < TableEntries) {
      // The lock-up rows carry their own row numbers, so the later key of the pair is found by
      // its name, which is unique among the learned keys.
      const std::string_view name = Remote.LockUps[static_cast<std::size_t>(pair + 1)].Name.Raw();
      for (std::int32_t k = 1; k < std::clamp(Remote.KeyCount, 0, TableEntries); ++k) {
        if (!name.empty() && Remote.Keys[static_cast<std::size_t>(k)].Name.Raw() == name) {
          match.Found = true;
          match.KeyNumber = k;
        }
      }
    }
    if (!match.Found) {
      const std::int32_t key = LastMatch(Remote.Keys, Remote.KeyCount, stored);
      if (key >= 0) {
        match.Found = true;
        match.KeyNumber = key;
        LastKey = key;
      }
    }
  }
  if (!match.Found && repeatFrame) {
    if (LastKey != -1) {
      match.Found = true;
      match.KeyNumber = LastKey;
    } else {
      match.CloseHint = true;
    }
  }
  return match;
}

}  // namespace quillon
