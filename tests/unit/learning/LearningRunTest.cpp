// A whole learning run from the recordings of a real remote, played edge by edge through the
// receive pipeline on virtual time, and the saved file at work on fresh presses.

#include <gtest/gtest.h>

#include <random>

#include "LearningBench.h"
#include "SampleRemote.h"
#include "core/common/Cp1251.h"
#include "core/receiver/CaptureFile.h"
#include "replay/CaptureReplay.h"

namespace quillon {
namespace {

using platform::CounterTicksPerMillisecond;

// The durations of a button held for more than four seconds: the press, then the repeat frame the
// remote sends every 108 ms.
std::vector<std::int64_t> Held(const std::vector<std::int64_t>& press) {
  const std::vector<std::int64_t> repeat(press.end() - 3, press.end());
  std::vector<std::int64_t> held = press;
  for (int frame = 0; frame < 40; ++frame) {
    held.push_back(108 * CounterTicksPerMillisecond - (repeat[0] + repeat[1] + repeat[2]));
    held.insert(held.end(), repeat.begin(), repeat.end());
  }
  return held;
}

// Dispatches recognised presses to the names of their keys.
struct NameRecorder : KeyDispatcher {
  explicit NameRecorder(const RemoteData& remote) : Remote(remote), Matcher(remote) {}
  void KeyDispatch(const std::string& code, bool repeatFrame) override {
    const KeyMatch match = Matcher.Lookup(code, repeatFrame);
    Names.push_back(match.Found ? Remote.Keys[static_cast<std::size_t>(match.KeyNumber)].Name.Text()
                                : "?" + code);
  }
  const RemoteData& Remote;
  KeyMatcher Matcher;
  std::vector<std::string> Names;
};

TEST(LearningRun, ARemoteLearnedFromRealCapturesKnowsFreshPressesOfItsButtons) {
  const auto records = ReadCaptureFile(test::VizioCapture);
  ASSERT_TRUE(records) << records.ErrorMessage();
  test::LearningBench bench;
  std::mt19937 random(20261206);
  const auto play = [&](const std::vector<std::int64_t>& durations) {
    PlayPress(bench.Pipeline, bench.Loop, bench.Clock, Jitter(durations, 3, random));
  };
  const CaptureRecord& first = records.Value().front();

  bench.Procedure.ButtonStartLearnClick();
  for (int press = 0; press < 5; ++press) play(first.Durations);
  ASSERT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::HoldButtonTest)
      << bench.View.Tail(12).front();
  bench.Loop.AdvanceBy(LearningProcedure::HoldTestHoldOffMs);
  play(Held(first.Durations));
  ASSERT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::LearnButton);
  EXPECT_EQ(bench.Remote.Record->Repeat.Valid, 1);

  for (const CaptureRecord& record : records.Value()) {
    for (int press = 0; press < 5; ++press) play(record.Durations);
    EXPECT_FALSE(bench.View.Boxes[0].empty()) << record.Button;
    bench.Remember(record.Button);
  }
  EXPECT_TRUE(bench.View.Messages.empty());
  EXPECT_EQ(bench.View.LockUps.Rows.size(), 2U);  // no two buttons share a code
  bench.Procedure.ButtonStartLearnClick();
  ASSERT_TRUE(bench.Procedure.State().LearnSaved) << bench.View.Messages.front();

  CurrentRemote loaded;
  const auto load = LoadRemoteFile(bench.Folder.Path / "Acme_TV1.IRD", loaded, English);
  ASSERT_TRUE(load && load.Value().Found);
  ReceivePipeline pipeline(bench.Loop, bench.Receive, loaded.Timings, loaded.Limits);
  NameRecorder dispatched(*loaded.Record);
  pipeline.SetConsumers({.Dispatcher = &dispatched, .Judge = &dispatched.Matcher});
  pipeline.MultiLevelCoding = load.Value().MultiLevelCoding;
  pipeline.ReceiveEnabled = true;
  std::vector<std::string> expected;
  for (const CaptureRecord& record : records.Value()) {
    PlayPress(pipeline, bench.Loop, bench.Clock, Jitter(record.Durations, 3, random));
    expected.push_back(UpperCase1251(record.Button));
  }
  EXPECT_EQ(dispatched.Names, expected);

  // A held button repeats through the repeat frame the hold-button test found.
  dispatched.Names.clear();
  const CaptureRecord& second = records.Value()[1];
  PlayPress(pipeline, bench.Loop, bench.Clock, Jitter(Held(second.Durations), 3, random));
  ASSERT_GT(dispatched.Names.size(), 10U);
  EXPECT_EQ(dispatched.Names, std::vector(dispatched.Names.size(), UpperCase1251(second.Button)));
}

}  // namespace
}  // namespace quillon
