// The editor's key-string rules: a field of any content and caret, then a run of recorded key
// strokes and typed characters of any content, then the questions asked before the string is
// stored. An edit leaves the caret within the text, a refused one leaves the field as it was,
// and the field stops growing at its length limit.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "core/actions/KeyStringEditor.h"

namespace {

using namespace quillon;

// The longest token one edit inserts: a special key name of 13 characters in brackets, inside
// three modifier groups.
constexpr std::size_t LongestToken = 13 + 2 + 3 * 3;

std::size_t Characters(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const LanguageFlag language = input.ConsumeBool() ? Bulgarian : English;
  KeyStringField field;
  field.Text = input.ConsumeRandomLengthString(64);
  field.Caret = input.ConsumeIntegralInRange<std::size_t>(0, 80);
  const std::size_t start = Characters(field.Text);

  while (input.remaining_bytes() > 0) {
    KeyStringEdit edit;
    switch (input.ConsumeIntegralInRange(0, 2)) {
      case 0: {
        KeyStroke stroke;
        stroke.VirtualKey = input.ConsumeIntegral<std::uint8_t>();
        stroke.Shift = input.ConsumeBool();
        stroke.Control = input.ConsumeBool();
        stroke.Alt = input.ConsumeBool();
        edit = RecordKeyStroke(field, stroke, language);
        break;
      }
      case 1:
        edit = TypeCharacter(field, input.ConsumeRandomLengthString(4), language);
        break;
      default:
        field.Caret = input.ConsumeIntegralInRange<std::size_t>(0, Characters(field.Text) + 2);
        continue;
    }
    if (!edit.Error.empty() || edit.Field.Text == field.Text) {
      QUILLON_FUZZ_CHECK(edit.Field == field);
    } else {
      QUILLON_FUZZ_CHECK(edit.Field.Caret <= Characters(edit.Field.Text));
      QUILLON_FUZZ_CHECK(Characters(edit.Field.Text) <=
                         std::max(start, KeyStringLengthLimit) + LongestToken);
    }
    field = edit.Field;
  }
  KeyStringWarnings(field.Text, language);
  return 0;
}
