#include "core/receiver/CaptureFile.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(CaptureFile, ReadsRecordsWithPercentEncodedFields) {
  const auto records = ParseCaptures(
      "# ircorpus 1\n"
      "# remote=tv button=Vol%20+ take=1 n=3 same_as=Vol%2B unknown=x\n"
      "100 200 300\r\n"
      "# remote=tv button=Off\n"
      "\n");
  ASSERT_TRUE(records) << records.ErrorMessage();
  ASSERT_EQ(records.Value().size(), 2U);
  const CaptureRecord& first = records.Value()[0];
  EXPECT_EQ(first.Remote, "tv");
  EXPECT_EQ(first.Button, "Vol +");
  EXPECT_EQ(first.SameAs, "Vol+");
  EXPECT_EQ(first.Durations, (std::vector<std::int64_t>{100, 200, 300}));
  EXPECT_EQ(first.LineNumber, 2);
  EXPECT_TRUE(records.Value()[1].Durations.empty());  // an empty line is an empty burst
}

TEST(CaptureFile, MalformedLinesAreReportedWithTheirNumber) {
  const struct {
    const char* Text;
    const char* Message;
  } cases[] = {
      {"# remote=a\n100 x2 300\n", "line 2: \"x2\" is not a positive duration in ticks"},
      {"# remote=a\n100 -5\n", "line 2: \"-5\" is not a positive duration in ticks"},
      {"# remote=a\n99999999999999999999\n",
       "line 2: \"99999999999999999999\" is not a positive duration in ticks"},
      // Beyond the decoders' 32-bit classes; the replay's clock would overflow on such values.
      {"# remote=a\n2147483647 2147483648\n",
       "line 2: \"2147483648\" is longer than any burst (at most 2147483647 ticks)"},
      {"# remote=a\n9223372036854775807\n",
       "line 2: \"9223372036854775807\" is longer than any burst (at most 2147483647 ticks)"},
      {"100 200\n", "line 1: durations without a record header"},
      {"# remote=a\n# remote=b\n1\n", "line 2: a record header follows a header without durations"},
      {"# c\n# remote=a", "line 2: record header without a durations line"},
  };
  for (const auto& c : cases) {
    const auto records = ParseCaptures(c.Text);
    ASSERT_FALSE(records) << c.Text;
    EXPECT_EQ(records.ErrorMessage(), c.Message);
  }
}

TEST(CaptureFile, PlainBurstListTakesEveryOtherLineAsABurst) {
  const auto bursts = ParseBursts(
      "# remote=tv button=Off\n"
      "100 200 300\n"
      "\n"
      "# just a comment\n"
      "400\n");
  ASSERT_TRUE(bursts) << bursts.ErrorMessage();
  ASSERT_EQ(bursts.Value().size(), 3U);
  EXPECT_EQ(bursts.Value()[0].Button, "Off");
  EXPECT_TRUE(bursts.Value()[1].Durations.empty());
  EXPECT_EQ(bursts.Value()[2].Durations, std::vector<std::int64_t>{400});
  EXPECT_EQ(bursts.Value()[2].LineNumber, 5);

  const auto bad = ParseBursts("100\n12 zz\n");
  ASSERT_FALSE(bad);
  EXPECT_EQ(bad.ErrorMessage(), "line 2: \"zz\" is not a positive duration in ticks");
}

TEST(CaptureFile, MissingFileIsAnError) {
  const auto records = ReadCaptureFile("no-such-file.irc");
  ASSERT_FALSE(records);
  EXPECT_EQ(records.ErrorMessage(), "cannot open no-such-file.irc");
}

}  // namespace
}  // namespace quillon
