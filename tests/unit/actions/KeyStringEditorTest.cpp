#include "core/actions/KeyStringEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeMessageBoxes.h"

namespace quillon {
namespace {

constexpr std::string_view InName = "Unable insert special key intro another special key";

struct Expected {
  std::string Text;
  std::size_t Caret = 0;
  std::string Hint = {};
  std::uint32_t HintMilliseconds = 0;
  std::string Error = {};
};

void ExpectEdit(const KeyStringEdit& edit, const Expected& expected, const std::string& what) {
  EXPECT_EQ(edit.Field.Text, expected.Text) << what;
  EXPECT_EQ(edit.Field.Caret, expected.Caret) << what;
  EXPECT_EQ(edit.Hint, expected.Hint) << what;
  EXPECT_EQ(edit.HintMilliseconds, expected.HintMilliseconds) << what;
  EXPECT_EQ(edit.Error, expected.Error) << what;
}

TEST(KeyStringEditor, RecordedKeysBecomeTokens) {
  const KeyStroke f5{116};
  const KeyStroke a{65};
  const std::string full(KeyStringLengthLimit, 'x');
  const struct {
    std::string Text;
    std::size_t Caret;
    KeyStroke Stroke;
    Expected Result;
  } cases[] = {
      {"", 0, f5, {"[f5]", 4}},
      {"", 0, {32}, {"[space]", 7}},
      {"", 0, {91}, {"[menu]", 6}},
      {"", 0, a, {"a", 1}},
      {"", 0, {186}, {";", 1}},
      {"ab", 1, {88}, {"axb", 2}},
      {"", 0, {65, false, true}, {"^{a}", 4, "Control + a", 1500}},
      {"", 0, {65, true}, {"!{a}", 4, "Shift + a", 1500}},
      {"", 0, {65, true, false, true}, {"&{!{a}}", 7, "Alt + Shift + a", 1500}},
      {"", 0, {65, true, true, false}, {"^{!{a}}", 7, "Control + Shift + a", 1500}},
      {"", 0, {65, false, true, true}, {"^{&{a}}", 7, "Control + Alt + a", 1500}},
      {"", 0, {65, true, true, true}, {"^{&{!{a}}}", 10, "Control + Alt + Shift + a", 1500}},
      {"", 0, {112, true}, {"!{[f1]}", 7, "Shift + [f1]", 1500}},
      // Modifier keys alone, and keys without a name to write, insert nothing.
      {"x", 1, {16, true}, {"x", 1}},
      {"x", 1, {17, false, true}, {"x", 1}},
      {"x", 1, {92}, {"x", 1}},
      {full, 3, a, {full, 3}},
      // The bracket keys write brackets, with Shift braces.
      {"", 0, {219}, {"[", 1, "Beginning of special key", 1000}},
      {"", 0, {219, false, true}, {"[", 1, "Beginning of special key", 1000}},
      {"[f", 2, {221}, {"[f]", 3, "End of special key", 1000}},
      {"", 0, {219, true}, {"{", 1}},
      {"^{a", 3, {221, true}, {"^{a}", 4}},
      // Inside an open name only plain name characters go in.
      {"[f", 2, {53}, {"[f5", 3}},
      {"[f", 2, f5, {"[f", 2, "", 0, std::string(InName)}},
      {"[f", 2, {53, true}, {"[f", 2, "", 0, std::string(InName)}},
      {"[f", 2, {219, true}, {"[f", 2, "", 0, std::string(InName)}},
  };
  for (const auto& c : cases) {
    ExpectEdit(
        RecordKeyStroke({c.Text, c.Caret}, c.Stroke, English), c.Result,
        c.Text + " @" + std::to_string(c.Caret) + " vk " + std::to_string(c.Stroke.VirtualKey));
  }
}

TEST(KeyStringEditor, TypedCharactersGoInAsTyped) {
  const struct {
    std::string Text;
    std::size_t Caret;
    std::string Typed;
    Expected Result;
  } cases[] = {
      {"", 0, "a", {"a", 1}},
      {"", 0, "{", {"{", 1}},
      {"", 0, "A", {"!{a}", 4, "Shift + a", 1500}},
      {"бв", 1, "Г", {"б!{г}в", 5, "Shift + г", 1500}},
      {"бв", 1, "x", {"бxв", 2}},
      {"", 0, "\t", {"", 0}},
      {"[f", 2, "A", {"[f", 2, "", 0, "Unable insert special key in another special key"}},
      {"[f", 2, "5", {"[f5", 3}},
  };
  for (const auto& c : cases) {
    ExpectEdit(TypeCharacter({c.Text, c.Caret}, c.Typed, English), c.Result,
               c.Text + " @" + std::to_string(c.Caret) + " " + c.Typed);
  }
}

TEST(KeyStringEditor, BracketsOnlyOpenOrCloseANameWhereOneCanBe) {
  const struct {
    std::string Text;
    std::size_t Caret;
    std::string Typed;
    bool Accepted;
  } cases[] = {
      {"", 0, "[", true},
      {"[f5]", 4, "[", true},
      {"ab[", 3, "[", false},   // the field ends with "["
      {"[a", 0, "[", false},    // more "[" than "]"
      {"[a]b", 1, "[", false},  // the nearest bracket before the caret opens a name
      {"[f5", 3, "]", true},
      {"[f5]x", 3, "]", false},  // that name is closed after the caret already
      {"[f5][x", 6, "]", true},
      {"[", 1, "]", false},   // an empty name
      {"ab", 2, "]", false},  // no name open
      {"[f5]", 4, "]", false},
  };
  for (const auto& c : cases) {
    const KeyStringEdit edit = TypeCharacter({c.Text, c.Caret}, c.Typed, Bulgarian);
    EXPECT_EQ(edit.Field.Text != c.Text, c.Accepted) << c.Text << " @" << c.Caret << " " << c.Typed;
    EXPECT_TRUE(edit.Error.empty());
    EXPECT_EQ(edit.Hint, !c.Accepted      ? ""
                         : c.Typed == "[" ? "Начало на спрециален клавиш"
                                          : "Край на спрециален клавиш");
  }
}

TEST(KeyStringEditor, BackSpaceTakesAWholeTokenAndShiftBackSpaceOneCharacter) {
  struct Case {
    std::string_view Text;
    std::size_t Caret;
    bool OneCharacter;
    std::string_view After;
    std::size_t CaretAfter;
  };
  const Case cases[] = {
      {"ab[f5]", 6, false, "ab", 2},
      {"ab[f5]", 6, true, "ab[f5", 5},
      {"x^{&{!{a}}}", 11, false, "x", 1},
      {"x^{&{!{a}}}", 10, false, "x^{}", 3},
      {"{a}", 3, false, "", 0},
      {"[f5]ab", 4, false, "ab", 0},
      {"abc", 2, false, "ac", 1},
      {"аб", 2, false, "а", 1},  // characters, not bytes
      {"abc", 0, false, "abc", 0},
      {"x]", 2, false, "x", 1},  // no bracket to match: one character
  };
  for (const Case& c : cases) {
    const KeyStringField erased = EraseBeforeCaret({std::string(c.Text), c.Caret}, c.OneCharacter);
    EXPECT_EQ(erased.Text, c.After) << c.Text << " at " << c.Caret;
    EXPECT_EQ(erased.Caret, c.CaretAfter) << c.Text << " at " << c.Caret;
  }
}

TEST(KeyStringEditor, WarningsBeforeStoring) {
  const struct {
    std::string Keys;
    LanguageFlag Language;
    std::vector<std::string> Questions;
  } cases[] = {
      {"^{[f5]}x", English, {}},
      {"", English, {}},
      {"^{a", English, {"Number of \"{\" = 1, and number of \"}\" = 0\r\nContinue?"}},
      {"[f5", English, {"Number of \"[\" = 1, and number of \"]\" = 0\r\nContinue?"}},
      {"[f5][nope][ home ]", English, {"Special key [nope] not found!\r\nContinue?"}},
      {"[x]}",
       Bulgarian,
       {"Броя на \"{\" е = 0, а броя на \"}\" = 1\r\nПрисвояване на функцията?",
        "Специалния клавиш [x] не е намерен!\r\nПрисвояване на функцията?"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyStringWarnings(c.Keys, c.Language), c.Questions) << c.Keys;
  }
}

TEST(KeyStringEditor, CancelOnAnyQuestionRejectsTheString) {
  const std::string keys = "^{[a][b]";
  test::FakeMessageBoxes boxes;
  boxes.Answers = {MessageAnswer::Ok, MessageAnswer::Cancel};
  EXPECT_FALSE(ConfirmKeyString(keys, boxes, English));
  ASSERT_EQ(boxes.Shown.size(), 2U);
  EXPECT_EQ(boxes.Shown[0].Caption, "Warning");
  EXPECT_EQ(boxes.Shown[0].Icon, MessageIcon::Warning);
  EXPECT_EQ(
      boxes.Shown[0].Buttons,
      (std::vector<MessageButton>{{MessageAnswer::Ok, "OK"}, {MessageAnswer::Cancel, "Cancel"}}));
  EXPECT_EQ(boxes.Shown[1].Text, "Special key [a] not found!\r\nContinue?");

  boxes.Shown.clear();
  boxes.Answers.clear();
  EXPECT_TRUE(ConfirmKeyString(keys, boxes, English));
  EXPECT_EQ(boxes.Shown.size(), 3U);
  EXPECT_TRUE(ConfirmKeyString("[f5]", boxes, English));
  EXPECT_EQ(boxes.Shown.size(), 3U);
}

}  // namespace
}  // namespace quillon
