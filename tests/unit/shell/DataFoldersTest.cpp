#include "core/shell/DataFolders.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "TempFolder.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

TEST(DataFolders, AWritableRemoteFolderBesideTheProgramMakesItPortableUnlessQuillonHomeIsSet) {
  test::TempFolder program;
  fs::create_directory(program.Path / "RIVirOriv");
  const auto home = FindDataFolders(program.Path, "/srv/demo", "/xdg", "/home/u");
  ASSERT_TRUE(home.Ok());
  EXPECT_EQ(home.Value().Base, "/srv/demo");
  EXPECT_FALSE(home.Value().Portable);
  EXPECT_EQ(home.Value().Remotes(), fs::path("/srv/demo/RIVirOriv"));
  EXPECT_EQ(home.Value().Keys(), fs::path("/srv/demo/Keys"));

  const auto folders = FindDataFolders(program.Path, "", "/xdg", "/home/u");
  ASSERT_TRUE(folders.Ok());
  EXPECT_EQ(folders.Value().Base, program.Path);
  EXPECT_TRUE(folders.Value().Portable);
  EXPECT_TRUE(fs::is_empty(program.Path / "RIVirOriv"));
}

TEST(DataFolders, OtherwiseTheUsersDataFolder) {
  test::TempFolder program;
  const struct {
    const char* XdgDataHome;
    const char* Home;
    const char* Expected;
  } cases[] = {
      {"/xdg", "/home/u", "/xdg/quillon"},
      {nullptr, "/home/u", "/home/u/.local/share/quillon"},
      {"", "/home/u", "/home/u/.local/share/quillon"},
      {"relative", "/home/u", "/home/u/.local/share/quillon"},
  };
  for (const auto& c : cases) {
    const auto folders = FindDataFolders(program.Path, nullptr, c.XdgDataHome, c.Home);
    ASSERT_TRUE(folders.Ok()) << c.Expected;
    EXPECT_EQ(folders.Value().Base, fs::path(c.Expected));
    EXPECT_FALSE(folders.Value().Portable);
  }
  EXPECT_FALSE(FindDataFolders(program.Path, nullptr, nullptr, nullptr).Ok());
}

TEST(DataFolders, AReadOnlyRemoteFolderIsNotPortable) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser writes anywhere";
  test::TempFolder program;
  fs::create_directory(program.Path / "RIVirOriv");
  fs::permissions(program.Path / "RIVirOriv", fs::perms::owner_read | fs::perms::owner_exec);
  const auto folders = FindDataFolders(program.Path, nullptr, "/xdg", nullptr);
  fs::permissions(program.Path / "RIVirOriv", fs::perms::owner_all);
  ASSERT_TRUE(folders.Ok());
  EXPECT_FALSE(folders.Value().Portable);
}

TEST(DataFolders, CreatingMakesBothFolders) {
  test::TempFolder home;
  const DataFolders folders{home.Path / "quillon", false};
  ASSERT_TRUE(CreateDataFolders(folders).Ok());
  EXPECT_TRUE(fs::is_directory(home.Path / "quillon" / "RIVirOriv"));
  EXPECT_TRUE(fs::is_directory(home.Path / "quillon" / "Keys"));
  EXPECT_TRUE(CreateDataFolders(folders).Ok());
}

}  // namespace
}  // namespace quillon
