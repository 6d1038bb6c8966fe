#include "core/common/Cp1251.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(Cp1251, ConvertsBothWays) {
  const struct {
    const char* Utf8;
    std::string Stored;
  } cases[] = {
      {"Remember", "Remember"},
      {"Бутон-№", "\xC1\xF3\xF2\xEE\xED-\xB9"},
      {"Ёё Ђ €", "\xA8\xB8 \x80 \x88"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToCp1251(c.Utf8), c.Stored) << c.Utf8;
    EXPECT_EQ(Cp1251ToUtf8(c.Stored), c.Utf8) << c.Utf8;
  }
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("a\xE4\xB8\xAD"
                         "b"),
            "a?b");  // a CJK character
  EXPECT_EQ(Utf8ToCp1251("a\xF0\x9F\x98\x80"
                         "b"),
            "a?b");  // an emoji
  EXPECT_EQ(Utf8ToCp1251("a\xC3"
                         "b\xFF"),
            "a?b?");                     // malformed UTF-8
  EXPECT_EQ(Cp1251ToUtf8("\x98"), "?");  // the unassigned byte
}

TEST(Cp1251, CutCountsStoredBytesAndKeepsCharactersWhole) {
  EXPECT_EQ(CutToStoredLength("Бутон", 3), "Бут");
  EXPECT_EQ(CutToStoredLength("ab", 5), "ab");
  EXPECT_EQ(Utf8ToCp1251(CutToStoredLength("Ж\xF0\x9F\x98\x80Ж", 2)).size(), 2U);
}

TEST(Cp1251, UpperCaseCoversCyrillic) {
  EXPECT_EQ(UpperCase1251("volume+ звук ёж ђ ґ"), "VOLUME+ ЗВУК ЁЖ Ђ Ґ");
}

}  // namespace
}  // namespace quillon
