// The companion file of button templates: what is written reads back the same, every way a
// file can be wrong gives an error naming the line, and the remote loads without templates
// when its companion file cannot be used.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TempFolder.h"
#include "core/learning/RemoteFile.h"
#include "core/recognition/TemplateFile.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

RemoteTemplates TwoButtons() {
  RemoteTemplates templates;
  templates.Buttons.push_back(
      {.Key = 1,
       .Name = "POWER",
       .Frames = {{{9000, 4500, 560, 1690, 560}, false, false}, {{9000, 2250, 560}, false, false}},
       .Shadowed = false});
  templates.Buttons.push_back(
      {.Key = 7,
       .Name = "ГЛАС +",
       .Frames = {{{2400, 600, 1200}, false, false}, {Frame(17, 600), false, true}},
       .Shadowed = false});
  return templates;
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(TemplateFile, WhatIsWrittenReadsBackTheSame) {
  const RemoteTemplates written = TwoButtons();
  const std::string text = WriteTemplates(written);
  EXPECT_TRUE(text.starts_with(
      "Quillon button templates 1\nbutton 1 POWER\nframe 9000 4500 560 "
      "1690 560\nframe 9000 2250 560\nbutton 7 ГЛАС +\nframe 2400 600 1200\ncut 600 "));
  const auto read = ReadTemplates(text);
  ASSERT_TRUE(read) << read.ErrorMessage();
  ASSERT_EQ(read.Value().Buttons.size(), 2U);
  for (std::size_t b = 0; b < 2; ++b) {
    const ButtonTemplate& in = read.Value().Buttons[b];
    const ButtonTemplate& out = written.Buttons[b];
    EXPECT_EQ(in.Key, out.Key);
    EXPECT_EQ(in.Name, out.Name);
    ASSERT_EQ(in.Frames.size(), out.Frames.size());
    for (std::size_t f = 0; f < in.Frames.size(); ++f) {
      EXPECT_EQ(in.Frames[f].Durations, out.Frames[f].Durations);
      EXPECT_EQ(in.Frames[f].Cut, out.Frames[f].Cut);
    }
  }
  // Comments, blank lines and CR LF line ends are read too.
  const auto windows = ReadTemplates(
      "Quillon button templates 1\r\n# made by hand\r\n\r\nbutton 3 "
      "OK\r\nframe 100 200 300\r\n");
  ASSERT_TRUE(windows) << windows.ErrorMessage();
  EXPECT_EQ(windows.Value().Buttons[0].Name, "OK");
  EXPECT_EQ(windows.Value().Buttons[0].Frames[0].Durations, (Frame{100, 200, 300}));
}

TEST(TemplateFile, ACorruptFileIsAnErrorNamingTheLine) {
  const std::string head = "Quillon button templates 1\n";
  std::string longFrame = head + "button 1 A\nframe";
  for (int i = 0; i < 501; ++i) longFrame += " 100";
  std::string manyFrames = head + "button 1 A\n";
  for (int i = 0; i < 65; ++i) manyFrames += "frame 100\n";
  struct Case {
    std::string Text;
    std::string Error;
  };
  const Case cases[] = {
      {"", "the file is empty"},
      {"Quillon button templates 2\n", "line 1: the file does not begin with"},
      {head + "frame 100\n", "line 2: a frame before the first button"},
      {head + "button 0 A\nframe 1\n", "line 2: a key number from 1 to 99 expected, not \"0\""},
      {head + "button 100 A\nframe 1\n", "line 2: a key number from 1 to 99"},
      {head + "button x A\n", "line 2: a key number"},
      {head + "button 5\n", "line 2: a name expected"},
      {head + "button 5  A\n", "line 2: a name expected"},
      {head + "button 1 A\nframe 1\nbutton 1 B\n", "line 4: key 1 appears twice"},
      {head + "button 1 A\nbutton 2 B\nframe 1\n", "line 3: button 1 has no frame"},
      {head + "button 1 A\n", "line 2: button 1 has no frame"},
      {head + "button 1 A\nframe 100 200\n", "line 3: a frame has an odd number"},
      {head + "button 1 A\nframe 100 0 100\n", "line 3: a duration from 1 to 1000000 us"},
      {head + "button 1 A\nframe 1000001\n", "line 3: a duration from 1 to 1000000 us"},
      {head + "button 1 A\nframe 1-2\n", "line 3: a duration"},
      {head + "button 1 A\nframe\n", "line 3: a frame has an odd number"},
      {longFrame + "\n", "line 3: more than 500 durations in a frame"},
      {manyFrames, "line 67: more than 64 frames for one button"},
      {head + "buton 1 A\n", "line 2: unknown line \"buton\""},
      {head + "button 1 A\tB\nframe 1\n", "line 2: a control character"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text.substr(0, 80));
    const auto read = ReadTemplates(c.Text);
    ASSERT_FALSE(read);
    EXPECT_TRUE(read.ErrorMessage().starts_with(c.Error)) << read.ErrorMessage();
  }
}

TEST(TemplateFile, SavingWritesBesideTheRemoteAndNoTemplatesRemoveTheFile) {
  const test::TempFolder folder;
  const fs::path companion = CompanionPath(folder.Path / "Vizio_VX32L.IRD");
  EXPECT_EQ(companion.filename(), "Vizio_VX32L.irt");
  const auto missing = LoadTemplateFile(companion);
  ASSERT_TRUE(missing);
  EXPECT_TRUE(missing.Value().Empty());

  ASSERT_TRUE(SaveTemplateFile(companion, TwoButtons()));
  const auto loaded = LoadTemplateFile(companion);
  ASSERT_TRUE(loaded) << loaded.ErrorMessage();
  EXPECT_EQ(loaded.Value().Buttons.size(), 2U);

  ASSERT_TRUE(SaveTemplateFile(companion, RemoteTemplates{}));
  EXPECT_FALSE(fs::exists(companion));

  WriteText(companion, "Quillon button templates 1\nframe 1\n");
  const auto corrupt = LoadTemplateFile(companion);
  ASSERT_FALSE(corrupt);
  EXPECT_EQ(corrupt.ErrorMessage(), "Vizio_VX32L.irt: line 2: a frame before the first button");
}

// A remote record with keys 1 and 2, written as a remote data file.
fs::path WriteRemote(const fs::path& folder) {
  auto record = NewRemoteData();
  record->Version = RemoteVersion;
  record->KeyCount = 3;
  record->Keys[1].KeyNumber = 1;
  record->Keys[1].Name.Assign("POWER");
  record->Keys[1].Data[0].Assign("0101");
  record->Keys[2].KeyNumber = 2;
  record->Keys[2].Name.Assign("MUTE");
  record->Keys[2].Data[0].Assign("0110");
  const fs::path path = folder / "Test_Remote.IRD";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(record.get()), sizeof(RemoteData));
  return path;
}

TEST(TemplateFile, ARemoteLoadsWithoutTemplatesItsCompanionCannotGive) {
  const test::TempFolder folder;
  const fs::path remote = WriteRemote(folder.Path);
  const fs::path companion = CompanionPath(remote);
  struct Case {
    std::string Text;  // empty: no companion file
    std::size_t Buttons;
    std::string Problem;
  };
  const std::string head = "Quillon button templates 1\n";
  const Case cases[] = {
      {"", 0, ""},
      {head + "button 2 MUTE\nframe 500 500 500\n", 1, ""},
      {head + "button 2 MUTE\nframe 500 500\n", 0,
       "Test_Remote.irt: line 3: a frame has an odd number"},
      {head + "button 2 POWER\nframe 500 500 500\n", 0,
       "Test_Remote.irt: button 2 \"POWER\" is no key of this remote"},
      {head + "button 3 EXTRA\nframe 500 500 500\n", 0,
       "Test_Remote.irt: button 3 \"EXTRA\" is no key of this remote"},
  };
  CurrentRemote current;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    std::error_code ignored;
    fs::remove(companion, ignored);
    if (!c.Text.empty()) WriteText(companion, c.Text);
    const auto load = LoadRemoteFile(remote, current, English);
    ASSERT_TRUE(load) << load.ErrorMessage();
    EXPECT_TRUE(load.Value().Found);
    EXPECT_EQ(current.Record->Keys[2].Name.Text(), "MUTE");
    EXPECT_EQ(current.Templates.Buttons.size(), c.Buttons);
    EXPECT_TRUE(load.Value().TemplateProblem.starts_with(c.Problem))
        << load.Value().TemplateProblem;
    EXPECT_EQ(load.Value().TemplateProblem.empty(), c.Problem.empty());
  }
}

}  // namespace
}  // namespace quillon
