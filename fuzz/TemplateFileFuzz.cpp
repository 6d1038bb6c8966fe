// The companion file of button templates: a text of any content read as the file; what reads
// is written again and must read back the same, and a burst made of its frames is matched
// against it.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "core/recognition/TemplateFile.h"
#include "core/recognition/TemplateMatcher.h"

namespace {

using namespace quillon;

bool SameTemplates(const RemoteTemplates& a, const RemoteTemplates& b) {
  if (a.Buttons.size() != b.Buttons.size()) return false;
  for (std::size_t i = 0; i < a.Buttons.size(); ++i) {
    const ButtonTemplate& x = a.Buttons[i];
    const ButtonTemplate& y = b.Buttons[i];
    if (x.Key != y.Key || x.Name != y.Name || x.Shadowed != y.Shadowed ||
        x.Frames.size() != y.Frames.size()) {
      return false;
    }
    for (std::size_t f = 0; f < x.Frames.size(); ++f) {
      if (x.Frames[f].Durations != y.Frames[f].Durations ||
          x.Frames[f].Common != y.Frames[f].Common || x.Frames[f].Cut != y.Frames[f].Cut) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Result<RemoteTemplates> read = ReadTemplates(text);
  if (!read) {
    QUILLON_FUZZ_CHECK(!read.ErrorMessage().empty());
    return 0;
  }
  const RemoteTemplates& templates = read.Value();
  QUILLON_FUZZ_CHECK(templates.Buttons.size() <= static_cast<std::size_t>(MaxTemplateKey));
  std::vector<std::int64_t> burst;
  for (const ButtonTemplate& button : templates.Buttons) {
    QUILLON_FUZZ_CHECK(button.Key >= 1 && button.Key <= MaxTemplateKey);
    QUILLON_FUZZ_CHECK(!button.Frames.empty() && button.Frames.size() <= MaxButtonFrames);
    for (const TemplateFrame& frame : button.Frames) {
      QUILLON_FUZZ_CHECK(frame.Durations.size() % 2 == 1);
      if (burst.size() + frame.Durations.size() < MaxFrameDurations) {
        if (!burst.empty()) burst.push_back(FrameSplitUs);
        burst.insert(burst.end(), frame.Durations.begin(), frame.Durations.end());
      }
    }
  }

  const Result<RemoteTemplates> again = ReadTemplates(WriteTemplates(templates));
  QUILLON_FUZZ_CHECK(again && SameTemplates(templates, again.Value()));

  const TemplateMatch match = MatchBurst(templates, burst, MatchSettings{});
  if (match.Answer == TemplateAnswer::Key) {
    bool known = false;
    for (const ButtonTemplate& button : templates.Buttons) {
      known = known || (button.Key == match.Key && !button.Shadowed);
    }
    QUILLON_FUZZ_CHECK(known);
  }
  return 0;
}
