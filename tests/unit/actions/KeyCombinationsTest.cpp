#include "core/actions/KeyCombinations.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempFolder.h"

namespace quillon {
namespace {

using test::ReadFile;
using test::WriteFile;

TEST(KeyCombinationLineTest, ALineSplitsAtItsFirstSeparator) {
  const struct {
    std::string_view Line;
    KeyCombination Row;
  } cases[] = {
      {"Copy,^{c}", {"Copy", "^{c}"}},
      {"Comma key,^{,},x", {"Comma key", "^{,},x"}},  // the second comma stays in the key string
      {"Only a description", {"", ""}},
      {"", {"", ""}},
      {",[f5]", {"", "[f5]"}},
      {"Nothing to send,", {"Nothing to send", ""}},
      {"Copy\\, then paste,^{c}^{v}", {"Copy, then paste", "^{c}^{v}"}},
      {"C:\\dir,x", {"C:\\dir", "x"}},  // a backslash before another character is itself
      {"ends in \\\\,x", {"ends in \\", "x"}},
      {"\\\\\\,,y", {"\\,", "y"}},
      {"all\\,escaped", {"", ""}},
      {"keys keep \\,a\\\\,b", {"keys keep ,a\\", "b"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseKeyCombinationLine(c.Line), c.Row) << c.Line;
  }
}

TEST(KeyCombinationLineTest, EveryDescriptionAndKeyStringSurvivesWritingAndReading) {
  const std::string_view texts[] = {"plain", "a,b",   "a\\", "a\\,b", "\\\\", ",",
                                    "x\\y",  ",,\\,", "\\",  "",      "^{,}", "[f5],\\"};
  for (const std::string_view description : texts) {
    for (const std::string_view keys : texts) {
      const KeyCombination row{std::string(description), std::string(keys)};
      EXPECT_EQ(ParseKeyCombinationLine(FormatKeyCombinationLine(row)), row)
          << FormatKeyCombinationLine(row);
    }
  }
}

TEST(KeyCombinationLineTest, AWrittenLineStaysAsTheWindowsProgramWritesItWhereItCan) {
  EXPECT_EQ(FormatKeyCombinationLine({"Copy", "^{c}"}), "Copy,^{c}");
  EXPECT_EQ(FormatKeyCombinationLine({"C:\\dir", "a,\\"}), "C:\\dir,a,\\");
  EXPECT_EQ(FormatKeyCombinationLine({"a,b\\", "x"}), "a\\,b\\\\,x");
  EXPECT_EQ(FormatKeyCombinationLine({"two\r\nlines", "[f5]\n"}), "two  lines,[f5] ");
}

TEST(KeyCombinationFileTest, OnlyRowsWithTextAreWritten) {
  const std::vector<KeyCombination> rows = {
      {"Copy", "^{c}"}, {"", ""}, {"Paste", "^{v}"}, {"", "[f5]"}, {"", ""}};
  EXPECT_EQ(FormatKeyCombinationFile(rows), "Copy,^{c}\r\nPaste,^{v}\r\n,[f5]\r\n");
  EXPECT_EQ(FormatKeyCombinationFile({}), "");
}

TEST(KeyCombinationFileTest, TextIsWindows1251OnDisk) {
  EXPECT_EQ(FormatKeyCombinationFile({{"Копирай", "^{c}"}}),
            "\xCA\xEE\xEF\xE8\xF0\xE0\xE9,^{c}\r\n");
  EXPECT_EQ(ParseKeyCombinationFile("\xCA\xEE\xEF\xE8\xF0\xE0\xE9,^{c}\r\n"),
            (std::vector<KeyCombination>{{"Копирай", "^{c}"}}));
}

TEST(KeyCombinationFileTest, EachKindOfLineEndEndsARow) {
  const struct {
    std::string_view Bytes;
    std::vector<KeyCombination> Rows;
  } cases[] = {
      {"a,1\r\nb,2\r\n", {{"a", "1"}, {"b", "2"}}},
      {"a,1\nb,2\rc,3", {{"a", "1"}, {"b", "2"}, {"c", "3"}}},
      {"a,1\r\n\r\nb,2\r\n", {{"a", "1"}, {"", ""}, {"b", "2"}}},
      {"", {}},
      {"\r\n", {{"", ""}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseKeyCombinationFile(c.Bytes), c.Rows) << c.Bytes;
  }
}

TEST(KeyCombinationFileTest, WritingCreatesTheFolderAndReadsBack) {
  test::TempFolder temp;
  const auto file = temp.Path / "Keys" / "Work.kcn";
  const std::vector<KeyCombination> rows = {{"Save, then close", "^{s}&{[f4]}"}, {"Undo", "^{z}"}};
  ASSERT_TRUE(WriteKeyCombinationFile(file, rows).Ok());
  EXPECT_EQ(ReadFile(file), "Save\\, then close,^{s}&{[f4]}\r\nUndo,^{z}\r\n");
  const auto read = ReadKeyCombinationFile(file);
  ASSERT_TRUE(read.Ok());
  EXPECT_EQ(read.Value(), rows);
}

TEST(KeyCombinationFileTest, AMissingFileIsAnEmptyPageAndAnUnreadableOneAnError) {
  test::TempFolder temp;
  const auto missing = ReadKeyCombinationFile(temp.Path / "None.kcn");
  ASSERT_TRUE(missing.Ok());
  EXPECT_TRUE(missing.Value().empty());
  std::filesystem::create_directory(temp.Path / "Folder.kcn");
  const auto unreadable = ReadKeyCombinationFile(temp.Path / "Folder.kcn");
  ASSERT_FALSE(unreadable.Ok());
  EXPECT_NE(unreadable.ErrorMessage().find("Folder.kcn"), std::string::npos);
}

TEST(KeyCombinationPagesTest, ThePagesAreTheKcnFilesByName) {
  test::TempFolder temp;
  WriteFile(temp.Path / "Work.kcn", "");
  WriteFile(temp.Path / "games.KCN", "");
  WriteFile(temp.Path / "notes.txt", "");
  WriteFile(temp.Path / "v1.2.kcn", "");
  std::filesystem::create_directory(temp.Path / "folder.kcn");
  EXPECT_EQ(ListKeyCombinationPages(temp.Path),
            (std::vector<KeyCombinationPage>{{"Work", temp.Path / "Work.kcn"},
                                             {"games", temp.Path / "games.KCN"},
                                             {"v1.2", temp.Path / "v1.2.kcn"}}));
  EXPECT_TRUE(ListKeyCombinationPages(temp.Path / "missing").empty());
}

TEST(KeyCombinationPagesTest, NamesAreFileNamesComparedInAnyLetterCase) {
  const struct {
    std::string_view A;
    std::string_view B;
    bool Same;
  } comparisons[] = {
      {"Work", "WORK", true},
      {"Игри", "иГРИ", true},
      {"Work", "Work2", false},
      {"a", "b", false},
  };
  for (const auto& c : comparisons) {
    EXPECT_EQ(SamePageName(c.A, c.B), c.Same) << c.A << " " << c.B;
  }
  const struct {
    std::string_view Name;
    bool Valid;
  } names[] = {{"Work", true},  {"Игри 2", true}, {"", false},    {"a/b", false},
               {"a\\b", false}, {"what?", false}, {"a\tb", false}};
  for (const auto& n : names) {
    EXPECT_EQ(IsValidPageName(n.Name), n.Valid) << n.Name;
  }
}

}  // namespace
}  // namespace quillon
