// Bracket fields: a node text of any content split in every mode, read as a command node (the
// record starting filled, as dispatch hands it over with the window and application of the
// group in force), and its parameter, and the text itself, read as a window message.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "core/common/Cp1251.h"
#include "core/config/NodeText.h"

namespace {

using namespace quillon;

constexpr std::size_t MaxStored = 255;

bool FitsAField(const std::string& field) { return Utf8ToCp1251(field).size() <= MaxStored; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  for (const BracketMode mode : {BracketMode::Fields, BracketMode::Last, BracketMode::Prefix}) {
    for (const auto& [open, close] : {std::pair{'[', ']'}, std::pair{'<', '>'}}) {
      for (const std::string& field : SplitBracketFields(text, mode, open, close)) {
        QUILLON_FUZZ_CHECK(FitsAField(field));
      }
    }
  }

  CommandRecord record{"Window", "C:\\Program\\program.exe", CommandKind::None, "parameter"};
  ParseNodeText(text, record);
  QUILLON_FUZZ_CHECK(FitsAField(record.WindowName) && FitsAField(record.ApplicationPath) &&
                     FitsAField(record.Parameter));
  const WindowMessage fromParameter = ParseWindowMessage(record.Parameter);
  QUILLON_FUZZ_CHECK(fromParameter.Ok ==
                     (fromParameter.Message == WmCommand || fromParameter.Message == WmClose));
  const WindowMessage fromText = ParseWindowMessage(text);
  QUILLON_FUZZ_CHECK(fromText.Ok == (fromText.Message != 0));
  return 0;
}
