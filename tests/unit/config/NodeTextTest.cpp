#include "core/config/NodeText.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

std::string Repeated(std::string_view piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(NodeText, SplitBracketFields) {
  const std::string longField = Repeated("x", 300);
  const std::string longCyrillic = Repeated("ж", 300);
  const struct {
    std::string Text;
    BracketMode Mode;
    BracketFields Expected;
  } cases[] = {
      {"[A][B][C][D]", BracketMode::Fields, {"A", "B", "C", "D"}},
      {"[Media Player][C:\\Player\\player.exe]",
       BracketMode::Fields,
       {"Media Player", "C:\\Player\\player.exe", "", ""}},
      {"2. Menu - [Group Key][Menu][C:\\P\\p.exe]",
       BracketMode::Fields,
       {"Group Key", "Menu", "C:\\P\\p.exe", ""}},
      {"5. Play [Start music] - [Group Key][W][P]",
       BracketMode::Fields,
       {"Start music", "Group Key", "W", "P"}},
      // A pair nested in the second field: field 1 runs to the third closing bracket.
      {"[A][B[x]C][D]", BracketMode::Fields, {"A", "B[x]C", "D", ""}},
      {"[A][B[x]C][D][E]", BracketMode::Fields, {"A", "B[x]C", "D", ""}},
      // A third pair after the second closing bracket is not nested.
      {"[A][B][x]", BracketMode::Fields, {"A", "B", "x", ""}},
      {"", BracketMode::Fields, {"", "", "", ""}},
      {"Lock Up", BracketMode::Fields, {"", "", "", ""}},
      {"[A", BracketMode::Fields, {"", "", "", ""}},
      {"[A][B", BracketMode::Fields, {"A", "", "", ""}},
      {"[]", BracketMode::Fields, {"", "", "", ""}},
      {"[" + longField + "][b]", BracketMode::Fields, {Repeated("x", 255), "b", "", ""}},
      {"[" + longCyrillic + "]", BracketMode::Fields, {Repeated("ж", 255), "", "", ""}},
      {"2. Menu - [Group Key][Menu][C:\\P\\p.exe]",
       BracketMode::Last,
       {"C:\\P\\p.exe", "", "", ""}},
      {"1. Power [Switch off]", BracketMode::Last, {"Switch off", "", "", ""}},
      {"[a[b]c]", BracketMode::Last, {"b]c", "", "", ""}},
      {"1. Power", BracketMode::Last, {"", "", "", ""}},
      {"[" + longField + "]", BracketMode::Last, {Repeated("x", 255), "", "", ""}},
      {"  5. Play  [Start music] - [Group Key]", BracketMode::Prefix, {"5. Play", "", "", ""}},
      {"1. Power", BracketMode::Prefix, {"1. Power", "", "", ""}},
      {"[W][P]", BracketMode::Prefix, {"", "", "", ""}},
      {longField, BracketMode::Prefix, {Repeated("x", 255), "", "", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitBracketFields(c.Text, c.Mode), c.Expected)
        << c.Text << " mode " << static_cast<int>(c.Mode);
  }
}

TEST(NodeText, ParseNodeTextForEveryNodeForm) {
  // A record left from an earlier node: what a text does not set stays as it was.
  const CommandRecord before{"Earlier window", "C:\\Earlier\\app.exe", CommandKind::None, ""};
  const auto with = [&](CommandKind kind, std::string parameter, std::string window = "",
                        std::string path = "") {
    CommandRecord record = before;
    record.Kind = kind;
    record.Parameter = std::move(parameter);
    if (!window.empty()) record.WindowName = window;
    if (!path.empty()) record.ApplicationPath = path;
    return record;
  };
  const struct {
    std::string Text;
    CommandRecord Expected;
  } cases[] = {
      {"<Command>[Turn Off Computer]", with(CommandKind::Command, "Turn Off Computer")},
      {"<Command>[Close Group]", with(CommandKind::Command, "Close Group")},
      {"<Command>[On/Off  Screen Saver]", with(CommandKind::Command, "On/Off  Screen Saver")},
      {"<AudioCommand>[Mixer 0/Master/Wave/Volume+]",
       with(CommandKind::AudioCommand, "Mixer 0/Master/Wave/Volume+")},
      // The whole send-key string survives, its own brackets included.
      {"<SendKey>[^{[Right]}]", with(CommandKind::SendKeys, "^{[Right]}")},
      {"<SendKey>[[Home]![a]b]", with(CommandKind::SendKeys, "[Home]![a]b")},
      {"<SendKey>[abc]", with(CommandKind::SendKeys, "abc")},
      {"<WM_>[WM_COMMAND,40001,0]", with(CommandKind::WindowMessage, "WM_COMMAND,40001,0")},
      // The root form: kind 0, its window fields left to the caller.
      {"[Media Player][C:\\Player\\player.exe]", with(CommandKind::GroupKey, "")},
      {"2. Menu - [Group Key][Menu][C:\\Player\\player.exe]",
       with(CommandKind::GroupKey, "", "Menu", "C:\\Player\\player.exe")},
      {"5. Play [Start music] - [Group Key][W][P]", with(CommandKind::GroupKey, "", "W", "P")},
      {"Lock Up", before},
      {"New group", before},
      {"3. Mute", before},
      {"3. Mute [Silence]", before},
      {"<Remoute Control Type> - VIZIO  VX32L", before},
      {"<Unknown>[x]", before},
      {"<Command>", before},
      {"", before},
  };
  for (const auto& c : cases) {
    CommandRecord record = before;
    ParseNodeText(c.Text, record);
    EXPECT_EQ(record, c.Expected) << c.Text;
  }
}

TEST(NodeText, ParseWindowMessage) {
  const struct {
    std::string Parameter;
    WindowMessage Expected;
  } cases[] = {
      {"WM_COMMAND,40001,0", {WmCommand, 40001, 0, true}},
      {"WM_CLOSE,0,0", {WmClose, 0, 0, true}},
      {"wm_close,1,2", {WmClose, 1, 2, true}},
      {"Wm_Command, 12 , 34", {WmCommand, 12, 34, true}},
      {"WM_COMMAND,-1,-2", {WmCommand, -1, -2, true}},
      {"WM_COMMAND,abc,7x", {WmCommand, 0, 0, true}},
      // Without a second comma the one number is the lParam.
      {"WM_COMMAND,5", {WmCommand, 0, 5, true}},
      {"WM_CLOSE", {0, 0, 0, false}},
      {"WM_PAINT,1,2", {0, 1, 2, false}},
      {"", {0, 0, 0, false}},
  };
  for (const auto& c : cases) {
    const WindowMessage message = ParseWindowMessage(c.Parameter);
    EXPECT_EQ(message.Message, c.Expected.Message) << c.Parameter;
    EXPECT_EQ(message.WParam, c.Expected.WParam) << c.Parameter;
    EXPECT_EQ(message.LParam, c.Expected.LParam) << c.Parameter;
    EXPECT_EQ(message.Ok, c.Expected.Ok) << c.Parameter;
  }
}

}  // namespace
}  // namespace quillon
