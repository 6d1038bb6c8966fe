#include "core/config/ConfigDialogs.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempFolder.h"

namespace quillon {
namespace {

TEST(ConfigDialogs, ConfigurationsAreListedByNameInFileNameOrder) {
  test::TempFolder folder;
  for (const char* file : {"b.rir", "A.RIR", "c.txt", "with.dot.rir", "Remote.IRD"}) {
    std::ofstream(folder.Path / file) << "x";
  }
  std::filesystem::create_directory(folder.Path / "folder.rir");
  EXPECT_EQ(ListConfigurationNames(folder.Path), (std::vector<std::string>{"A", "b", "with.dot"}));
  EXPECT_TRUE(ListConfigurationNames(folder.Path / "missing").empty());
  EXPECT_EQ(ConfigurationPath(folder.Path, "Evening"), folder.Path / "Evening.rir");
}

TEST(ConfigDialogs, TheProposalNamesTheRemoteAndTheProgramOrTheWindow) {
  const struct {
    std::string ApplicationPath;
    std::string Root;
    std::string Expected;
  } cases[] = {
      {"C:\\Program Files\\Player\\player.exe", "[Media][C:\\x.exe]", "TV-player"},
      {"/usr/bin/vlc", "[Media][]", "TV-vlc"},
      {"", "[Media Player][]", "TV-Media Player"},
      {"", "New group", "TV-"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProposeConfigurationName("TV", c.ApplicationPath, c.Root), c.Expected);
  }
}

TEST(ConfigDialogs, TheNameFilterRefusesPunctuationAndFileNameBreakers) {
  for (const char* refused :
       {",", ".", "І", "!", "@", "#", "$",  "%", "^", "&", "*", "(", ")",  "+", "=", "{",
        "}", "[", "]", ";", "'", ":", "\"", "?", "/", ">", "<", "|", "\\", "~", "`", "\t"}) {
    EXPECT_TRUE(IsRefusedNameCharacter(refused)) << refused;
  }
  for (const char* accepted : {"a", "Z", "5", " ", "_", "-", "я", "Ж"}) {
    EXPECT_FALSE(IsRefusedNameCharacter(accepted)) << accepted;
  }
  EXPECT_EQ(RefusedNameCharacters(),
            "! \" # $ % & ' ( ) * + , . / : ; < = > ? @ [ \\ ] ^ ` { | } ~ І");
}

TEST(ConfigDialogs, AWholeNameIsCheckedNotOnlyTypedKeys) {
  EXPECT_TRUE(IsValidConfigurationName("VIZIO  VX32L-Media Player"));
  EXPECT_TRUE(IsValidConfigurationName("Вечер"));
  for (const char* name : {"", "a/b", "..", "tab\tname", "line\nbreak", "x.rir"}) {
    EXPECT_FALSE(IsValidConfigurationName(name)) << name;
  }
}

}  // namespace
}  // namespace quillon
