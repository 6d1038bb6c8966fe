#include "platform/linux/RegFileRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.h"
#include "core/shell/Options.h"

namespace quillon::platform {
namespace {

namespace fs = std::filesystem;

// What a registry file holds for ASCII text: UTF-16LE after a byte-order mark.
std::string Utf16Bytes(std::string_view ascii, bool withMark = true) {
  std::string bytes = withMark ? "\xFF\xFE" : "";
  for (const char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

// What was read is what a rewrite keeps.
void ExpectRewriteKeeps(const RegDocument& read) {
  const RegDocument again = ParseRegFile(FormatRegFile(read));
  ASSERT_EQ(again.Keys.size(), read.Keys.size());
  for (std::size_t k = 0; k < read.Keys.size(); ++k) {
    EXPECT_EQ(again.Keys[k].Path, read.Keys[k].Path);
    EXPECT_EQ(again.Keys[k].Values, read.Keys[k].Values);
  }
}

class RegFileRegistryTest : public ::testing::Test {
 protected:
  std::string FileBytes() const { return test::ReadFile(File); }
  void WriteFileBytes(std::string_view bytes) const {
    fs::create_directories(File.parent_path());
    test::WriteFile(File, bytes);
  }
  std::unique_ptr<RegistryKey> Open(RegFileRegistry& registry, std::string_view path) const {
    auto key = registry.OpenKey(path);
    EXPECT_TRUE(key) << (key ? "" : key.ErrorMessage());
    return key ? std::move(key).Value() : nullptr;
  }

  test::TempFolder Folder;
  fs::path File = Folder.Path / "quillon" / "registry.reg";
};

TEST_F(RegFileRegistryTest, WritesTheRegeditExportForm) {
  RegFileRegistry registry(File);
  auto key = Open(registry, "\\Software\\Vennard\\Pelmora");
  key->WriteInteger("SignalLength", 250);
  key->WriteString("COM", "COM1");
  key->WriteBool("ShowHint", true);
  ASSERT_TRUE(key->Close());
  EXPECT_EQ(FileBytes(), Utf16Bytes("Windows Registry Editor Version 5.00\r\n\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\Vennard\\Pelmora]\r\n"
                                    "\"SignalLength\"=dword:000000fa\r\n"
                                    "\"COM\"=\"COM1\"\r\n"
                                    "\"ShowHint\"=dword:00000001\r\n\r\n"));
}

TEST_F(RegFileRegistryTest, TextsAndNamesSurviveARoundTrip) {
  const struct {
    const char* Name;
    std::string Text;
  } cases[] = {
      {"Key Name #0", "Звук +"},
      {"Име на бутона", "Канал \"1\""},
      {"FileName", "C:\\Дистанционни\\tv.cfg"},
      {"a\\\\b\"c", "\\"},
      {"Lines", "one\r\ntwo\n"},
      {"Empty", ""},
      {"Beyond", "ђ € 😀 中"},
      {"Replacement", "a\uFFFDb"},  // a well-formed U+FFFD is no malformed byte
  };
  {
    RegFileRegistry registry(File);
    auto key = Open(registry, "\\Software\\Vennard\\Ключ");
    for (const auto& c : cases) key->WriteString(c.Name, c.Text);
    ASSERT_TRUE(key->Close());
  }
  const std::string bytes = FileBytes();
  EXPECT_NE(bytes.find(Utf16Bytes("\"a\\\\\\\\b\\\"c\"=\"\\\\\"", false)), std::string::npos);
  EXPECT_NE(bytes.find("\x1A\x04\x3B\x04\x4E\x04\x47\x04"), std::string::npos);  // "Ключ"

  RegFileRegistry again(File);
  auto key = Open(again, "software\\vennard\\Ключ");
  for (const auto& c : cases) EXPECT_EQ(key->ReadString(c.Name), c.Text) << c.Name;
}

TEST_F(RegFileRegistryTest, ReadingToleratesWhatHandsAndOtherProgramsLeave) {
  const std::string key = "[HKEY_CURRENT_USER\\Software\\Vennard\\Pelmora]";
  const struct {
    std::string Text;
    const char* Name;
    std::optional<RegValue> Expected;
  } cases[] = {
      {key + "\n\"A\"=dword:0000000a\n", "A", RegValue{10U}},
      {"REGEDIT4\r\n\r\n; comment\r\n" + key + "\r\n\r\n\"A\"=\"x\"\r\n", "A", RegValue{"x"}},
      {"\xEF\xBB\xBF" + key + "\n  \"A\" = DWORD:FA  \n", "A", RegValue{250U}},
      {"[hkey_current_user\\software\\vennard\\pelmora]\n\"A\"=\"x\"", "a", RegValue{"x"}},
      {key + "\n@=\"default\"\n", "", RegValue{"default"}},
      {key + "\n\"A\"=\"1\"\n\"A\"=\"2\"\n", "A", RegValue{"2"}},
      {key + "\n\"A\"=hex(1):41,00,0a,00,42,00,00,00\n", "A", RegValue{"A\nB"}},
      {key + "\n\"A\"=hex:01,02,\\\n  03\n", "A", RegValue{RegOtherData{"hex:01,02,03"}}},
      {key + "\n\"A\"=hex(2):25,00\n", "A", RegValue{RegOtherData{"hex(2):25,00"}}},
      {"\"A\"=\"before any key\"\n" + key, "A", std::nullopt},
      {"[-" + key.substr(1) + "\n\"A\"=\"x\"\n", "A", std::nullopt},
      {key + "\n[broken\n\"A\"=\"x\"\n", "A", std::nullopt},
      {key + "\n\"A\"=dword:123456789\n", "A", std::nullopt},
      {key + "\n\"A\"=dword:xyz\n", "A", std::nullopt},
      {key + "\n\"A\"=\"unterminated\n", "A", std::nullopt},
      {key + "\n\"A\"=\"x\" tail\n", "A", std::nullopt},
      {key + "\n\"A\"=-\n", "A", std::nullopt},
      {key + "\n\"A\"=hexagon\n", "A", std::nullopt},
      {key + "\n\"A\"\n", "A", std::nullopt},
  };
  for (const auto& c : cases) {
    RegDocument document = ParseRegFile(c.Text);
    const RegKey* found = document.Find("HKEY_CURRENT_USER\\Software\\Vennard\\Pelmora");
    const RegValue* value = found ? found->Find(c.Name) : nullptr;
    EXPECT_EQ(value ? std::optional(*value) : std::nullopt, c.Expected) << c.Text;
  }
}

TEST_F(RegFileRegistryTest, NulEndedTextsAndContinuedDataAreReadAsARewriteKeepsThem) {
  using namespace std::string_literals;
  const std::string key = "[HKEY_CURRENT_USER\\Software\\Vennard\\Pelmora]\n";
  const struct {
    std::string Data;
    RegValue Expected;
  } cases[] = {
      // A text ends at its first NUL in either form.
      {"\"C:\\x\0tail\rmore\"\n"s, RegValue{"C:\\x"}},
      {"hex(1):43,00,00,00,74,00,0d,00\n", RegValue{"C"}},
      // Continued data is kept without the blanks before its backslashes.
      {"hex:01,02,\\\n  03 \\\n\n", RegValue{RegOtherData{"hex:01,02,03"}}},
      {"hex:01,02,\\\n  03\r\\\n\n", RegValue{RegOtherData{"hex:01,02,03"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Data);
    const RegDocument read = ParseRegFile(key + "\"A\"=" + c.Data);
    ASSERT_EQ(read.Keys.size(), 1U);
    EXPECT_EQ(read.Keys[0].Values,
              (std::vector<std::pair<std::string, RegValue>>{{"A", c.Expected}}));
    ExpectRewriteKeeps(read);
  }
}

TEST_F(RegFileRegistryTest, AKeyPathIsJudgedWithoutItsOuterBackslashes) {
  const struct {
    std::string Line;
    std::optional<std::string> Path;
  } cases[] = {
      {"[\\HKEY_CURRENT_USER\\Software\\]", "HKEY_CURRENT_USER\\Software"},
      // Written back, these would read as no key or as a deletion entry.
      {"[\\]", std::nullopt},
      {"[\\\\]", std::nullopt},
      {"[\\-HKEY_CURRENT_USER\\Software]", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Line);
    const RegDocument read = ParseRegFile(c.Line + "\n\"A\"=\"x\"\n");
    ASSERT_EQ(read.Keys.size(), c.Path ? 1U : 0U);
    if (!c.Path) continue;
    EXPECT_EQ(read.Keys[0].Path, *c.Path);
    ExpectRewriteKeeps(read);
  }
}

TEST_F(RegFileRegistryTest, ValuesOfOtherTypesAndOtherKeysSurviveARewrite) {
  WriteFileBytes(
      "[HKEY_LOCAL_MACHINE\\Software\\Other]\n\"Path\"=hex(2):25,00,00,00\n"
      "[HKEY_CURRENT_USER\\Software\\Vennard\\Pelmora]\n\"Blob\"=hex:00,ff\n");
  RegFileRegistry registry(File);
  auto key = Open(registry, "\\Software\\Vennard\\Pelmora");
  key->WriteInteger("SignalLength", 100);
  ASSERT_TRUE(key->Close());
  const std::string bytes = FileBytes();
  EXPECT_NE(bytes.find(Utf16Bytes("[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
                                  "\"Path\"=hex(2):25,00,00,00\r\n",
                                  false)),
            std::string::npos);
  EXPECT_NE(bytes.find(Utf16Bytes("\"Blob\"=hex:00,ff\r\n\"SignalLength\"=dword:00000064", false)),
            std::string::npos);
}

TEST_F(RegFileRegistryTest, GarbageFilesReadAsDefaults) {
  const std::string cases[] = {
      std::string("\x00\x01\x02\xFF\xFE\x80\n\n\x00", 9),
      "\xFF\xFE\x41",  // an odd byte after the mark
      "\xFE\xFF\x00[\x00\"",
      std::string(100000, '['),
      "[HKEY_CURRENT_USER\\Software\\Vennard\\Pelmora]\n\"SignalLength\n\"ImpulseDiv\"=dword:",
      "\xFF\xFE\x00\xD8\x00\xDC\x00\xD8",  // surrogates out of order
      "\xC3\x28\xE2\x82\n\xF4\x90\x80\x80\xC0\xAF",
  };
  for (const auto& bytes : cases) {
    WriteFileBytes(bytes);
    RegFileRegistry registry(File);
    EXPECT_EQ(ReadOptions(registry), Options{}) << bytes.substr(0, 40);
  }
}

TEST_F(RegFileRegistryTest, AFailedSaveLeavesTheOldFileWhole) {
  const struct {
    const char* What;
    void (*Block)(const fs::path& temporary);
  } cases[] = {
      {"a folder in the temporary file's place",
       [](const fs::path& temporary) { fs::create_directory(temporary); }},
      {"a temporary file leading nowhere",
       [](const fs::path& temporary) {
         fs::create_symlink(temporary.parent_path() / "missing" / "file", temporary);
       }},
  };
  for (const auto& c : cases) {
    fs::remove_all(File.parent_path());
    RegFileRegistry registry(File);
    ASSERT_TRUE(WriteOptions(registry, Options{}));
    const std::string before = FileBytes();
    c.Block(fs::path(File) += ".new");

    Options changed;
    changed.SignalLength = 400;
    const auto saved = WriteOptions(registry, changed);
    ASSERT_FALSE(saved) << c.What;
    EXPECT_NE(saved.ErrorMessage().find("registry.reg.new"), std::string::npos);
    EXPECT_EQ(FileBytes(), before) << c.What;
    EXPECT_EQ(ReadOptions(registry), Options{}) << c.What;
  }
}

TEST_F(RegFileRegistryTest, OnlyAChangeOrANewKeyWritesTheFile) {
  RegFileRegistry registry(File);
  EXPECT_EQ(Open(registry, "\\Software\\Vennard\\Tashvel")->Close().Ok(), true);
  EXPECT_NE(FileBytes().find(Utf16Bytes("[HKEY_CURRENT_USER\\Software\\Vennard\\Tashvel]", false)),
            std::string::npos);

  auto key = Open(registry, "\\Software\\Vennard\\Tashvel");
  key->WriteString("COM", "COM2");
  ASSERT_TRUE(key->Close());
  fs::create_directory(fs::path(File) += ".new");  // any save would fail now
  key = Open(registry, "\\Software\\Vennard\\Tashvel");
  key->WriteString("com", "COM2");
  key->DeleteValue("Key Numbers");
  EXPECT_TRUE(key->Close());
  key->WriteString("COM", "COM3");
  EXPECT_FALSE(key->Close());
}

TEST_F(RegFileRegistryTest, EachOpenSeesTheFileAsItIsNow) {
  RegFileRegistry registry(File);
  auto first = Open(registry, "\\Software\\Vennard");
  auto second = Open(registry, "\\Software\\Vennard");
  first->WriteBool("DoubleClick", true);
  second->WriteBool("ShowFullWindow", false);
  ASSERT_TRUE(first->Close());
  ASSERT_TRUE(second->Close());
  auto merged = Open(registry, "\\Software\\Vennard");
  EXPECT_EQ(merged->ReadBool("DoubleClick"), true);
  EXPECT_EQ(merged->ReadBool("ShowFullWindow"), false);

  WriteFileBytes("[HKEY_CURRENT_USER\\Software\\Vennard]\n\"DoubleClick\"=\"edited\"\n");
  auto key = Open(registry, "\\Software\\Vennard");
  EXPECT_EQ(key->ReadBool("DoubleClick"), std::nullopt);
  EXPECT_EQ(key->ReadString("DoubleClick"), "edited");
}

TEST_F(RegFileRegistryTest, AnUnreadableFileIsNeitherReadNorReplaced) {
  fs::create_directories(File);  // a folder where the file should be
  RegFileRegistry registry(File);
  EXPECT_FALSE(registry.OpenKey("\\Software\\Vennard\\Pelmora"));
  EXPECT_EQ(ReadOptions(registry).ImpulseDiv, 2);
  EXPECT_FALSE(registry.OpenKey("\\"));
}

TEST(RegistryFilePath, FollowsTheXdgConfigFolder) {
  const struct {
    const char* XdgConfigHome;
    const char* Home;
    const char* Expected;  // null: no place
  } cases[] = {
      {"/cfg", "/home/u", "/cfg/quillon/registry.reg"},
      {nullptr, "/home/u", "/home/u/.config/quillon/registry.reg"},
      {"", "/home/u", "/home/u/.config/quillon/registry.reg"},
      {"relative", "/home/u", "/home/u/.config/quillon/registry.reg"},
      {nullptr, nullptr, nullptr},
      {"", "", nullptr},
  };
  for (const auto& c : cases) {
    const auto path = RegistryFilePath(c.XdgConfigHome, c.Home);
    ASSERT_EQ(path.Ok(), c.Expected != nullptr);
    if (c.Expected) {
      EXPECT_EQ(path.Value(), fs::path(c.Expected));
    }
  }
}

}  // namespace
}  // namespace quillon::platform
