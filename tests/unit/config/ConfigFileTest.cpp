#include "core/config/ConfigFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "FakeConfigurationView.h"
#include "TempFolder.h"
#include "core/common/Cp1251.h"
#include "core/config/ConfigEdit.h"
#include "core/shell/Settings.h"
#include "platform/fake/FakeRegistry.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using Nodes = std::vector<ConfigTree::Node>;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The lines as a file holds them: Windows-1251, each ended by CR LF.
std::string FileOf(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
  return bytes;
}

const std::vector<std::string> Sample = {
    "[Медия плейър][C:\\Програми\\player.exe]",
    "\t1. POWER",
    "\t\t<Command>[Turn Off Computer]",
    "\t2. ЗВУК - [Group Key][Снимки][C:\\Програми\\viewer.exe]",
    "\t\t1. POWER",
    "\t\t\t<SendKey>[^{[Right]}]",
    "\t\t2. ЗВУК",
    "\t\t\t<Command>[Close Group]",
    "\t3. MUTE",
    "\t\tLock Up",
    "<Remoute Control Type> - ЕЛПРО  ТВ-1",
};

const Nodes SampleNodes = {
    {"[Медия плейър][C:\\Програми\\player.exe]", 0},
    {"1. POWER", 1},
    {"<Command>[Turn Off Computer]", 2},
    {"2. ЗВУК - [Group Key][Снимки][C:\\Програми\\viewer.exe]", 1},
    {"1. POWER", 2},
    {"<SendKey>[^{[Right]}]", 3},
    {"2. ЗВУК", 2},
    {"<Command>[Close Group]", 3},
    {"3. MUTE", 1},
    {"Lock Up", 2},
    {"<Remoute Control Type> - ЕЛПРО  ТВ-1", 0},
};

// The configuration window's side of loading and saving, around a temporary folder.
struct Fixture {
  Result<ConfigurationLoad> Load(const fs::path& path, LoadOccasion occasion = LoadOccasion::Editor,
                                 LanguageFlag language = English) {
    return LoadConfiguration(path, Tree, Current, View, Registry, occasion, language);
  }
  Result<Done> Save(const fs::path& path, std::string_view remoteType = "ACME  TV1") {
    return SaveConfiguration(path, Tree, remoteType, Current, View, Registry);
  }
  fs::path Write(std::string_view name, std::string_view bytes) const {
    const fs::path path = Folder.Path / name;
    WriteBytes(path, bytes);
    return path;
  }
  std::optional<std::string> StoredFileName() const {
    const auto value = Registry.Value(ProductKey, "FileName");
    if (!value) return std::nullopt;
    return std::get<std::string>(*value);
  }

  test::TempFolder Folder;
  platform::FakeRegistry Registry;
  test::FakeConfigurationView View{{"ACME  TV1", "ЕЛПРО  ТВ-1", "TV set"}};
  ConfigTree Tree;
  CurrentConfiguration Current;
};

TEST(ConfigFile, LoadThenSaveIsByteIdenticalWithCyrillicTexts) {
  Fixture f;
  const fs::path original = f.Write("Хол.rir", FileOf(Sample));
  ASSERT_NE(ReadBytes(original).find("\xC7\xC2\xD3\xCA"), std::string::npos);  // "ЗВУК"
  const auto content = ReadConfigurationFile(original);
  ASSERT_TRUE(content) << content.ErrorMessage();
  EXPECT_EQ(content.Value().Nodes, SampleNodes);
  EXPECT_EQ(content.Value().RemoteType, "ЕЛПРО  ТВ-1");

  const auto loaded = f.Load(original);
  ASSERT_TRUE(loaded) << loaded.ErrorMessage();
  EXPECT_EQ(loaded.Value(), ConfigurationLoad::Loaded);
  EXPECT_EQ(f.Tree.All(), SampleNodes);

  const fs::path copy = f.Folder.Path / "Копие.rir";
  ASSERT_TRUE(f.Save(copy, "ACME  TV1"));
  EXPECT_EQ(ReadBytes(copy), ReadBytes(original));
}

TEST(ConfigFile, LeadingBlanksAndTabsEachCountOneLevel) {
  const struct {
    std::string Bytes;
    Nodes Expected;
  } cases[] = {
      {"[W][P]\r\n 1. A\r\n  <Command>[x]\r\n 2. B\r\nT\r\n",
       {{"[W][P]", 0}, {"1. A", 1}, {"<Command>[x]", 2}, {"2. B", 1}, {"T", 0}}},
      {"[W][P]\r\n\t1. A\r\n\t <Command>[x]\r\n\t \t\r\nT",
       {{"[W][P]", 0}, {"1. A", 1}, {"<Command>[x]", 2}, {"", 3}, {"T", 0}}},
      // A shallower line attaches to the nearest earlier node one level above it.
      {"[W][P]\n\t1. A\n\t\t2. B - [Group Key][V][Q]\n\t\t\t1. A\n\t3. C\nT\n",
       {{"[W][P]", 0},
        {"1. A", 1},
        {"2. B - [Group Key][V][Q]", 2},
        {"1. A", 3},
        {"3. C", 1},
        {"T", 0}}},
  };
  for (const auto& c : cases) {
    Fixture f;
    const auto content = ReadConfigurationFile(f.Write("levels.rir", c.Bytes));
    ASSERT_TRUE(content) << content.ErrorMessage();
    EXPECT_EQ(content.Value().Nodes, c.Expected) << c.Bytes;
  }
}

TEST(ConfigFile, ALineMoreThanOneLevelDeeperIsAnErrorNamingIt) {
  const struct {
    std::string Bytes;
    std::string Message;
  } cases[] = {
      {"[W][P]\r\n\t1. A\r\n\t\t\t<Command>[x]\r\nT\r\n",
       "bad.rir: line 3 is indented 3 levels, more than one level deeper than the line before it"},
      {"[W][P]\r\n\r\n\r\n  1. A\r\nT\r\n",
       "bad.rir: line 4 is indented 2 levels, more than one level deeper than the line before it"},
      {"\t[W][P]\r\nT\r\n",
       "bad.rir: line 1 is indented, but the first node is the root at level 0"},
  };
  for (const auto& c : cases) {
    Fixture f;
    const auto content = ReadConfigurationFile(f.Write("bad.rir", c.Bytes));
    ASSERT_FALSE(content) << c.Bytes;
    EXPECT_EQ(content.ErrorMessage(), c.Message);
  }
}

TEST(ConfigFile, TheLastNonEmptyLineNamesTheRemoteType) {
  const struct {
    std::string Ending;
    std::string RemoteType;
  } cases[] = {
      {"<Remoute Control Type> - TV set\r\n", "TV set"},
      {"<Remoute Control Type> - TV set", "TV set"},
      {"<Remoute Control Type> - TV set\r\n\r\n\r\n", "TV set"},
      {"<Remoute Control Type> - TV set\n", "TV set"},
      {"<Remoute Control Type> - TV <set>   X\r\n", "X"},  // from the last ">"
      {"<Remoute Control Type>\r\n", ""},
      {"TV set\r\n", "TV set"},  // no ">": the whole line
  };
  for (const auto& c : cases) {
    Fixture f;
    const auto content =
        ReadConfigurationFile(f.Write("type.rir", "[W][P]\r\n\t1. A\r\n" + c.Ending));
    ASSERT_TRUE(content) << content.ErrorMessage();
    EXPECT_EQ(content.Value().RemoteType, c.RemoteType) << c.Ending;
  }
}

TEST(ConfigFile, LoadingSelectsTheRemoteTypeAndMakesTheFileCurrent) {
  const struct {
    LoadOccasion Occasion;
    std::vector<std::string> Calls;
  } cases[] = {
      {LoadOccasion::Editor,
       {"select TV set", "load TV set", "show 0", "caption Quillon  [Living room]", "enable",
        "loaded"}},
      // At start-up the stored remote type is loaded already; its key data is not reloaded.
      {LoadOccasion::StartUp,
       {"select TV set", "show 0", "caption Quillon  [Living room]", "enable", "loaded"}},
  };
  for (const auto& c : cases) {
    Fixture f;
    const fs::path path =
        f.Write("Living room.rir", "[W][P]\r\n<Remoute Control Type> - TV set\r\n");
    const auto loaded = f.Load(path, c.Occasion);
    ASSERT_TRUE(loaded) << loaded.ErrorMessage();
    EXPECT_EQ(f.View.Calls, c.Calls);
    EXPECT_EQ(f.Current.FilePath, path);
    EXPECT_EQ(f.Current.Name, "Living room");
    EXPECT_EQ(f.StoredFileName(), path.string());
  }
}

TEST(ConfigFile, AMissingFileClearsTheCurrentConfiguration) {
  Fixture f;
  f.Tree.AddTopLevel("New group");
  f.Current = {f.Folder.Path / "Old.rir", "Old"};
  f.Registry.SetValue(ProductKey, "FileName", (f.Folder.Path / "Old.rir").string());

  const auto loaded = f.Load(f.Folder.Path / "Gone.rir");
  ASSERT_TRUE(loaded) << loaded.ErrorMessage();
  EXPECT_EQ(loaded.Value(), ConfigurationLoad::NoFile);
  EXPECT_TRUE(f.Current.FilePath.empty());
  EXPECT_TRUE(f.Current.Name.empty());
  EXPECT_EQ(f.StoredFileName(), "");
  EXPECT_EQ(f.View.Calls, (std::vector<std::string>{"caption Quillon"}));
  EXPECT_EQ(f.Tree.All(), (Nodes{{"New group", 0}}));
}

TEST(ConfigFile, AnUnknownRemoteTypeIsRefusedAndTheFileKept) {
  const struct {
    LanguageFlag Language;
    std::string Bytes;
    std::string Message;
  } cases[] = {
      {English, "[W][P]\r\n<Remoute Control Type> - RADIO  R1\r\n",
       "Error in file: Kitchen.rir \r\n\r\nDelete file !"},
      {Bulgarian, "[W][P]\r\n<Remoute Control Type> - RADIO  R1\r\n",
       "Грешка във файла: Kitchen.rir \r\n\r\nИзтриване на файла !"},
      // Without the remote type line the last line names the type, and no type is called so.
      {English, "[W][P]\r\n\t1. A\r\n", "Error in file: Kitchen.rir \r\n\r\nDelete file !"},
      {English, "", "Error in file: Kitchen.rir \r\n\r\nDelete file !"},
  };
  for (const auto& c : cases) {
    Fixture f;
    const fs::path path = f.Write("Kitchen.rir", c.Bytes);
    const auto loaded = f.Load(path, LoadOccasion::Editor, c.Language);
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.ErrorMessage(), c.Message);
    EXPECT_TRUE(f.Tree.Empty());
    EXPECT_TRUE(f.View.Calls.empty());
    EXPECT_FALSE(f.StoredFileName());
    EXPECT_EQ(ReadBytes(path), c.Bytes);
  }
}

TEST(ConfigFile, AFailedLoadLeavesTheConfigurationInUse) {
  Fixture f;
  const fs::path good = f.Write("Good.rir", FileOf(Sample));
  ASSERT_TRUE(f.Load(good));
  const std::vector<std::string> failing[] = {
      {"[W][P]", "<Remoute Control Type> - RADIO  R1"},
      {"[W][P]", "\t\t1. A", "<Remoute Control Type> - TV set"},
  };
  for (const auto& lines : failing) {
    const fs::path bad = f.Write("Bad.rir", FileOf(lines));
    f.View.Calls.clear();
    EXPECT_FALSE(f.Load(bad)) << lines[1];
    EXPECT_EQ(f.Tree.All(), SampleNodes);
    EXPECT_EQ(f.Current.FilePath, good);
    EXPECT_EQ(f.Current.Name, "Good");
    EXPECT_EQ(f.StoredFileName(), good.string());
    EXPECT_TRUE(f.View.Calls.empty());
  }
  // The configuration in use still saves over its own file.
  ASSERT_TRUE(f.Save(f.Current.FilePath));
  EXPECT_EQ(ReadBytes(good), FileOf(Sample));
}

TEST(ConfigFile, SavingAppendsTheRemoteTypeLineOnce) {
  Fixture f;
  f.Tree.AddTopLevel("[Player][C:\\p.exe]");
  f.Tree.AddChild(0, "1. POWER");
  const fs::path path = f.Folder.Path / "Living room.v2.rir";
  ASSERT_TRUE(f.Save(path, "ЕЛПРО  ТВ-1"));
  const std::string expected =
      FileOf({"[Player][C:\\p.exe]", "\t1. POWER", "<Remoute Control Type> - ЕЛПРО  ТВ-1"});
  EXPECT_EQ(ReadBytes(path), expected);
  // The tree itself gets no remote type node from saving; the file becomes the current one.
  EXPECT_EQ(f.Tree.Count(), 2);
  EXPECT_EQ(f.Current.FilePath, path);
  EXPECT_EQ(f.Current.Name, "Living room.v2");
  EXPECT_EQ(f.StoredFileName(), path.string());
  EXPECT_EQ(f.View.Calls, (std::vector<std::string>{"caption Quillon  [Living room.v2]"}));

  // Loaded, the tree ends in the remote type node; saving again writes no second line.
  ASSERT_TRUE(f.Load(path));
  ASSERT_TRUE(f.Save(path, "ACME  TV1"));
  EXPECT_EQ(ReadBytes(path), expected);
}

TEST(ConfigFile, AFailedSaveLeavesTheOldFileWhole) {
  Fixture f;
  const fs::path path = f.Write("Player.rir", FileOf(Sample));
  fs::create_directory(fs::path(path) += ".new");  // the temporary file cannot be written
  NewConfiguration(f.Tree, *NewRemoteData(), "Player", "C:\\p.exe");

  EXPECT_FALSE(f.Save(path));
  EXPECT_EQ(ReadBytes(path), FileOf(Sample));
  EXPECT_TRUE(f.Current.FilePath.empty());
  EXPECT_FALSE(f.StoredFileName());
  EXPECT_TRUE(f.View.Calls.empty());
}

TEST(ConfigFile, ConfigurationNameAndCaption) {
  const struct {
    fs::path Path;
    std::string Name;
  } cases[] = {
      {fs::path("RIVirOriv") / "Living room.rir", "Living room"},
      {"Media.v2.rir", "Media.v2"},
      {"Хол.RIR", "Хол"},
      {"plain", "plain"},
      {".rir", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConfigurationName(c.Path), c.Name) << c.Path;
  }
  EXPECT_EQ(ConfigurationCaption("Living room"), "Quillon  [Living room]");
}

}  // namespace
}  // namespace quillon
