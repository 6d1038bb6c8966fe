#include "core/learning/RemoteFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "TempFolder.h"

namespace quillon {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

std::string_view BytesOf(const RemoteData& remote) {
  return {reinterpret_cast<const char*>(&remote), sizeof remote};
}

using KeyList = std::vector<std::pair<std::string, std::string>>;

// Learning grids holding the given keys (name and first code; the other codes repeat it).
struct Grids {
  explicit Grids(const KeyList& keys) {
    ClearLearnGrids(Keys, LockUps, English);
    Keys.Rows.pop_back();
    std::int32_t number = 1;
    for (const auto& [name, code] : keys) {
      Keys.Rows.push_back({std::to_string(number++), name, code, code, code, code, code});
    }
    Keys.Rows.push_back({});
  }
  RemoteSaveRequest Request() const {
    RemoteSaveRequest request;
    request.Producer = "acme";
    request.Model = "TV1";
    request.KeyGrid = &Keys;
    request.LockUpGrid = &LockUps;
    request.NominalLength = 8;
    request.Trains = &Trains;
    return request;
  }
  LearnGrid Keys;
  LearnGrid LockUps;
  TrainTable Trains;
};

TEST(RemoteFile, RecordOfThreeKeysAsTheWindowsProgramWritesIt) {
  const Grids grids({{"POWER", "10110011"}, {"VOL+", "10110101"}, {"ЗВУК", "10111111"}});
  CurrentRemote current;
  current.Timings.StartPulse = 90000;
  current.Timings.LevelTable[0] = 16900;
  auto built = BuildRemoteRecord(grids.Request(), current);
  ASSERT_TRUE(built) << built.ErrorMessage();
  const RemoteData& r = *built.Value();

  EXPECT_EQ(r.Version, 1600);
  EXPECT_EQ(r.KeyCount, 4);
  EXPECT_EQ(r.LockUpCount, 1);  // no collisions: the trailing empty row alone
  EXPECT_EQ(r.Keys[3].Name.Text(), "ЗВУК");
  EXPECT_EQ(r.Keys[3].Name.Raw(), "\xC7\xC2\xD3\xCA");  // stored as Windows-1251
  EXPECT_EQ(r.Keys[4].KeyNumber, 4);                    // the trailing empty row
  EXPECT_EQ(r.Keys[4].Data[0].Length, 0);
  EXPECT_EQ(r.PrefixText.Text(), "1011");
  EXPECT_EQ(r.PrefixLength, 4);
  EXPECT_EQ(r.StartPulse, 90000);
  EXPECT_EQ(r.LevelTable[0], 16900);

  // Every byte that no field names is zero: entry 0, entries past the trailing row, padding.
  const auto zero = [](const void* p, std::size_t n) {
    const auto* bytes = static_cast<const unsigned char*>(p);
    return std::all_of(bytes, bytes + n, [](unsigned char b) { return b == 0; });
  };
  EXPECT_TRUE(zero(&r.Keys[0], sizeof(LearnedKey)));
  EXPECT_TRUE(zero(&r.Keys[5], sizeof(LearnedKey) * 95));
  EXPECT_TRUE(zero(&r.Padding1, 2) && zero(&r.Reserved2, 520) && zero(&r.Padding5, 7));
  EXPECT_TRUE(zero(r.Keys[1].Name.Bytes.data() + 5, 59));  // the tail of a short string
}

TEST(RemoteFile, CommonPrefixOfFirstCodes) {
  const struct {
    std::vector<std::pair<std::string, std::string>> Keys;
    std::string Prefix;
  } cases[] = {
      {{{"A", "10110011"}, {"B", "10110101"}}, "10110"},
      {{{"A", "10110011"}}, ""},                     // a single key has no prefix
      {{{"A", "10110011"}, {"B", "00110011"}}, ""},  // nothing shared
      {{{"A", "10110011"}, {"B", "1"}}, ""},         // one symbol is no prefix
      {{{"A", "2201"}, {"B", "2201"}, {"C", "2210"}}, "22"},
  };
  for (const auto& c : cases) {
    const Grids grids(c.Keys);
    auto built = BuildRemoteRecord(grids.Request(), CurrentRemote{});
    ASSERT_TRUE(built);
    EXPECT_EQ(built.Value()->PrefixText.Text(), c.Prefix);
    EXPECT_EQ(built.Value()->PrefixLength, static_cast<std::int64_t>(c.Prefix.size()));
  }
}

TEST(RemoteFile, SaveThenLoadGivesTheSameBytesAndTheDerivedLimits) {
  TempFolder folder;
  const Grids grids({{"POWER", "20110011"}, {"VOL+", "20110101"}});
  CurrentRemote current;
  auto saved = SaveRemoteFile(folder.Path, grids.Request(), current, nullptr, English);
  ASSERT_TRUE(saved) << saved.ErrorMessage();
  EXPECT_TRUE(saved.Value());
  const std::filesystem::path path = folder.Path / "acme_TV1.IRD";
  const std::string bytes = ReadFile(path);
  ASSERT_EQ(bytes.size(), sizeof(RemoteData));

  CurrentRemote loaded;
  auto load = LoadRemoteFile(path, loaded, English);
  ASSERT_TRUE(load) << load.ErrorMessage();
  EXPECT_TRUE(load.Value().Found);
  EXPECT_TRUE(load.Value().MultiLevelCoding);
  EXPECT_EQ(loaded.Limits.LevelCount, 3);
  EXPECT_EQ(loaded.Limits.MinFrameLength, 8);
  EXPECT_EQ(loaded.Limits.MaxFrameLength, 8);
  EXPECT_EQ(loaded.Timings.PrefixText, "20110");
  EXPECT_EQ(BytesOf(*loaded.Record), bytes);  // written again, the file is the same
}

TEST(RemoteFile, OlderVersionIsPatchedInMemoryOnly) {
  TempFolder folder;
  auto record = NewRemoteData();
  record->Version = 1500;
  record->ReceiverT = 'K';
  record->KeyTimerInterval = 80;
  const std::filesystem::path path = folder.Path / "old.IRD";
  WriteFile(path, BytesOf(*record));

  CurrentRemote current;
  ASSERT_TRUE(LoadRemoteFile(path, current, English));
  EXPECT_EQ(current.Record->ReceiverT, ' ');
  EXPECT_EQ(current.Record->KeyTimerInterval, 1);
  EXPECT_EQ(ReadFile(path), BytesOf(*record));
}

TEST(RemoteFile, ShortOrMissingFiles) {
  TempFolder folder;
  CurrentRemote current;
  current.Record->KeyCount = 7;

  auto missing = LoadRemoteFile(folder.Path / "none.IRD", current, English);
  ASSERT_TRUE(missing);
  EXPECT_FALSE(missing.Value().Found);

  WriteFile(folder.Path / "short.IRD", std::string(1000, '\0'));
  for (const auto& [language, message] :
       {std::pair{English, "Error in file: short.IRD \r\n\r\nRestart Quillon !"},
        {Bulgarian, "Грешка във файла: short.IRD \r\n\r\nРестартирайте Quillon !"}}) {
    auto shortFile = LoadRemoteFile(folder.Path / "short.IRD", current, language);
    ASSERT_FALSE(shortFile);
    EXPECT_EQ(shortFile.ErrorMessage(), message);
  }
  EXPECT_EQ(current.Record->KeyCount, 7);  // untouched
}

TEST(RemoteFile, CorruptCountsAndLengthsStayInsideTheRecord) {
  TempFolder folder;
  auto record = NewRemoteData();
  record->Version = 1600;
  record->KeyCount = 5000;
  record->LockUpCount = -3;
  record->LevelTop = 200;
  record->Keys[1].Name.Length = 255;  // beyond its 64 bytes
  record->Keys[1].Data[0].Length = 9;
  std::memcpy(record->Keys[1].Data[0].Bytes.data(), "012x45678", 9);
  record->Repeat.RepeatTop = 900;
  const std::filesystem::path path = folder.Path / "corrupt.IRD";
  WriteFile(path, BytesOf(*record));

  CurrentRemote current;
  auto load = LoadRemoteFile(path, current, English);
  ASSERT_TRUE(load);
  EXPECT_EQ(current.Record->KeyCount, 100);
  EXPECT_EQ(current.Record->LockUpCount, 0);
  EXPECT_EQ(current.Record->LevelTop, 9);
  EXPECT_EQ(current.Timings.LevelTop, 9);
  EXPECT_EQ(current.Record->Keys[1].Name.Length, 64);
  EXPECT_EQ(current.Record->Repeat.RepeatTop, 20);
  // A symbol that is no digit is reported, and the rest of the analysis still runs.
  EXPECT_NE(load.Value().Problem.find("012x45678"), std::string::npos);
  EXPECT_TRUE(load.Value().MultiLevelCoding);
  EXPECT_EQ(current.Limits.LevelCount, 9);
}

TEST(RemoteFile, SavingOverAnExistingFileAsksFirstAndAFailedSaveLeavesItWhole) {
  TempFolder folder;
  const std::filesystem::path path = folder.Path / "acme_TV1.IRD";
  WriteFile(path, "old content");
  const Grids grids(KeyList{{"POWER", "10110011"}});
  std::string asked;
  const auto refuse = [&](std::string_view question) {
    asked = question;
    return false;
  };
  auto declined = SaveRemoteFile(folder.Path, grids.Request(), CurrentRemote{}, refuse, English);
  ASSERT_TRUE(declined);
  EXPECT_FALSE(declined.Value());
  EXPECT_EQ(asked, "File acme_TV1.IRD exists!\r\nOverwrite?");
  EXPECT_EQ(ReadFile(path), "old content");

  const auto accept = [](std::string_view) { return true; };
  // A folder where the temporary file must go makes the write fail.
  std::filesystem::create_directory(folder.Path / "acme_TV1.IRD.new");
  EXPECT_FALSE(SaveRemoteFile(folder.Path, grids.Request(), CurrentRemote{}, accept, English));
  EXPECT_EQ(ReadFile(path), "old content");

  std::filesystem::remove(folder.Path / "acme_TV1.IRD.new");
  auto accepted = SaveRemoteFile(folder.Path, grids.Request(), CurrentRemote{}, accept, Bulgarian);
  ASSERT_TRUE(accepted);
  EXPECT_EQ(ReadFile(path).size(), sizeof(RemoteData));
}

TEST(RemoteFile, FileNamesStayInTheFolder) {
  EXPECT_EQ(RemoteFileName("acme", "TV1"), "acme_TV1.IRD");
  EXPECT_EQ(RemoteFileName("../../etc", "a/b\\c"), "_._.._etc_a_b_c.IRD");
  EXPECT_EQ(RemoteFileName("Бош", "ТВ"), "Бош_ТВ.IRD");
}

TEST(RemoteFile, RemoteTypesAreListedAndSelectedByDisplayName) {
  TempFolder folder;
  const auto write = [&](const std::string& file, const std::string& producer,
                         const std::string& model, std::int32_t keys) {
    auto record = NewRemoteData();
    record->Version = 1600;
    record->Producer.Assign(producer);
    record->Model.Assign(model);
    record->KeyCount = keys;
    WriteFile(folder.Path / file, BytesOf(*record));
  };
  write("a.IRD", "acme", "TV1", 3);
  write("b.ird", "Acme", "TV1", 5);  // the same display name, later: it wins
  write("c.IRD", "бош", "Радио", 2);
  write("d.IRD", " blank", "x", 2);
  WriteFile(folder.Path / "notes.txt", "not a remote");

  auto types = ScanRemoteTypes(folder.Path, English);
  ASSERT_TRUE(types) << types.ErrorMessage();
  UniqueNameList list;
  for (const RemoteType& type : types.Value()) list.Add(type.DisplayName);
  list.Add("acme  tv1");  // the same name in other letter case is not added again
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"ACME  TV1", "БОШ  Радио"}));

  CurrentRemote current;
  auto selected = SelectRemoteType(folder.Path, "ACME  TV1", current, English);
  ASSERT_TRUE(selected);
  EXPECT_TRUE(selected.Value().Found);
  EXPECT_EQ(current.Record->KeyCount, 5);

  auto none = SelectRemoteType(folder.Path, "NOBODY  X", current, English);
  ASSERT_TRUE(none);
  EXPECT_FALSE(none.Value().Found);
  EXPECT_EQ(current.Record->KeyCount, 0);

  WriteFile(folder.Path / "e.IRD", "short");
  auto broken = ScanRemoteTypes(folder.Path, English);
  ASSERT_FALSE(broken);
  EXPECT_EQ(broken.ErrorMessage(), "Error in file: e.IRD \r\n\r\nRestart Quillon !");
}

TEST(RemoteFile, GridHeadersInBothLanguages) {
  LearnGrid keys;
  LearnGrid lockUps;
  ClearLearnGrids(keys, lockUps, Bulgarian);
  ASSERT_EQ(keys.Rows.size(), 2U);
  EXPECT_EQ(keys.Rows[0][0], "Бутон-№");
  EXPECT_EQ(lockUps.Rows[0][6], "Данни[5]");
  ClearLearnGrids(keys, lockUps, English);
  EXPECT_EQ(keys.Rows[0], (LearnGrid::Row{"Key №", "Name", "Data[1]", "Data[2]", "Data[3]",
                                          "Data[4]", "Data[5]"}));
  EXPECT_TRUE(keys.Rows[1][0].empty());
}

}  // namespace
}  // namespace quillon
