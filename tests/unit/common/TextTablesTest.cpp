#include <gtest/gtest.h>

#include "core/actions/AudioTexts.h"
#include "core/actions/KeyStringTexts.h"
#include "core/actions/MessageBoxTexts.h"
#include "core/actions/ShutDownTexts.h"
#include "core/config/ConfigTexts.h"
#include "core/learning/LearningTexts.h"
#include "core/learning/ProgressDialog.h"
#include "core/learning/SaveDialog.h"
#include "core/receiver/PtkTexts.h"

namespace quillon {
namespace {

template <std::size_t N>
void ExpectBothLanguages(const std::array<BilingualText, N>& table, const char* name) {
  for (std::size_t role = 0; role < table.size(); ++role) {
    EXPECT_FALSE(table[role].InEnglish.empty()) << name << " role " << role;
    EXPECT_FALSE(table[role].InBulgarian.empty()) << name << " role " << role;
  }
}

TEST(TextTables, EveryTextHasItsTwin) {
  ExpectBothLanguages(LearningTexts, "LearningTexts");
  ExpectBothLanguages(ConfigTexts, "ConfigTexts");
  ExpectBothLanguages(AudioTexts, "AudioTexts");
  ExpectBothLanguages(KeyStringTexts, "KeyStringTexts");
  ExpectBothLanguages(MessageBoxTexts, "MessageBoxTexts");
  ExpectBothLanguages(ShutDownTexts, "ShutDownTexts");
  ExpectBothLanguages(PtkTexts, "PtkTexts");
  ExpectBothLanguages(SaveDialogTexts, "SaveDialogTexts");
  ExpectBothLanguages(ProgressDialogTexts, "ProgressDialogTexts");
}

TEST(TextTables, TheFlagPicksAtTheMomentOfShowing) {
  EXPECT_EQ(Text(ConfigText::UnknownKey, English), "** Unknown key **");
  EXPECT_EQ(Text(ConfigText::UnknownKey, Bulgarian), "** Непознат бутон **");
  EXPECT_EQ(FlipLanguage(English), Bulgarian);
  EXPECT_EQ(FlipLanguage(Bulgarian), English);
  EXPECT_EQ(FlipLanguage(7), English);
}

}  // namespace
}  // namespace quillon
