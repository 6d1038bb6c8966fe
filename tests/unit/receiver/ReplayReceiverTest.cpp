// The replay receiver: recorded bursts into the receive pipeline at their recorded pace, on
// virtual time, from records, from text fed over time, or from a file or pipe read through an
// IR input.

#include "core/receiver/ReplayReceiver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ReceiverBench.h"
#include "platform/fake/FakeIrDevice.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using test::Codes;
using test::EdgeTimes;
using test::FileText;

constexpr std::int64_t Ms = platform::CounterTicksPerMillisecond;

// A replay receiver on the pipeline of a bench, noting how it finished and when.
struct Replay {
  explicit Replay(ReplayBench& bench, ReplayOptions options = {})
      : Bench(bench), Receiver(bench.Pipeline, bench.Loop, bench.Clock, Events(), options) {}
  Replay(ReplayBench& bench, platform::IrDevice& input, std::string path)
      : Bench(bench),
        Receiver(bench.Pipeline, bench.Loop, bench.Clock, input, std::move(path), Events()) {}

  ReceiverEvents Events() {
    return {[this](const Result<Done>& outcome) {
              Outcomes.push_back(outcome ? "done" : outcome.ErrorMessage());
              FinishedAt = Bench.Clock.Counter();
            },
            nullptr};
  }

  ReplayBench& Bench;
  std::vector<std::string> Outcomes;
  std::int64_t FinishedAt = -1;
  ReplayReceiver Receiver;
};

TEST(ReplayReceiver, EveryRealCaptureReachesThePipelineWithItsRecordedDurations) {
  // With a burst window longer than any capture, each press is one burst whose signal-length
  // code depends on every one of its durations, up to the 500-duration limit.
  int files = 0;
  for (const auto& entry :
       fs::directory_iterator(fs::path(QUILLON_SOURCE_DIR) / "samples" / "ir-captures")) {
    if (entry.path().extension() != ".irc") continue;
    ++files;
    const auto records = ReadCaptureFile(entry.path());
    ASSERT_TRUE(records) << records.ErrorMessage();

    const auto configure = [](ReplayBench& bench) {
      bench.Settings.SignalLength = 8000;
      bench.Pipeline.ApplySignalLength();
      bench.Pipeline.ReceiveMode = ReceiveModeKind::SignalLengthTest;
    };
    ReplayBench reference;
    configure(reference);
    for (const CaptureRecord& record : records.Value()) {
      PlayPress(reference.Pipeline, reference.Loop, reference.Clock, record.Durations);
      reference.Loop.AdvanceBy(8000);
    }

    ReplayBench bench;
    configure(bench);
    Replay replay(bench, {.GapMs = 9000});
    ASSERT_TRUE(replay.Receiver.Queue(records.Value()));
    ASSERT_TRUE(replay.Receiver.EndOfInput());
    ASSERT_TRUE(replay.Receiver.Start());
    bench.Loop.AdvanceBy(static_cast<std::uint32_t>(records.Value().size()) * 20'000);

    EXPECT_EQ(Codes(bench), Codes(reference)) << entry.path().filename();
    EXPECT_EQ(replay.Outcomes, std::vector<std::string>{"done"});
  }
  EXPECT_EQ(files, 21);
}

TEST(ReplayReceiver, ACaptureFileReachesKeyDispatchWithTheCodesOfTheReferenceReplay) {
  const std::vector<std::string> expected = test::VizioReferenceCodes();
  ASSERT_EQ(expected.size(), 6U);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_FALSE(expected[i].empty());
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(expected[i], expected[j]);
  }
  // Fed as text, or read through an IR input in reads of the given size.
  for (const std::size_t readSize : {std::size_t{0}, std::size_t{7}, std::size_t{4096}}) {
    ReplayBench bench;
    test::UseVizioRemote(bench);
    platform::FakeIrDevice input(bench.Loop, bench.Clock);
    input.AddFile("vizio.irc", FileText(test::VizioCapture), readSize);
    auto replay = readSize == 0 ? std::make_unique<Replay>(bench)
                                : std::make_unique<Replay>(bench, input, "vizio.irc");
    ASSERT_TRUE(replay->Receiver.Start());
    if (readSize == 0) {
      ASSERT_TRUE(replay->Receiver.Feed(FileText(test::VizioCapture)));
      ASSERT_TRUE(replay->Receiver.EndOfInput());
    }
    bench.Loop.AdvanceBy(10'000);
    EXPECT_EQ(Codes(bench), expected) << readSize;
    EXPECT_EQ(replay->Outcomes, std::vector<std::string>{"done"});
    EXPECT_FALSE(input.IsOpen());
  }
}

TEST(ReplayReceiver, TheBurstWindowRunsFromTheFirstEdge) {
  // Three edges: the third comes `last` ticks after the first; the window is 250 ms.
  const struct {
    std::int64_t Last;
    std::vector<std::int32_t> Counts;  // durations of each burst handed over
  } cases[] = {
      {250 * Ms - 10, {2}},
      {250 * Ms, {1}},  // the burst timer ticks first: the third edge opens the next burst
      {250 * Ms + 10, {1}},
  };
  for (const auto& c : cases) {
    struct Counter : SignalLengthConsumer {
      void SignalLengthAnalysis(const std::string&, const std::optional<FrameSample>&) override {
        Counts.push_back(Pipeline->PulseCount);
      }
      const ReceivePipeline* Pipeline = nullptr;
      std::vector<std::int32_t> Counts;
    } counter;
    ReplayBench bench;
    counter.Pipeline = &bench.Pipeline;
    bench.Pipeline.SetConsumers({.SignalLength = &counter});
    bench.Pipeline.ReceiveMode = ReceiveModeKind::SignalLengthTest;
    Replay replay(bench);
    ASSERT_TRUE(replay.Receiver.Start());
    ASSERT_TRUE(replay.Receiver.Feed("5640 " + std::to_string(c.Last - 5640) + "\n"));
    bench.Loop.AdvanceBy(2000);
    EXPECT_EQ(counter.Counts, c.Counts) << c.Last;
  }
}

TEST(ReplayReceiver, BurstsComeGapMsApartAndFinishedOneGapAfterTheLast) {
  for (const std::uint32_t gap : {300U, 1000U}) {
    ReplayBench bench;
    EdgeTimes times(bench);
    Replay replay(bench, {.GapMs = gap});
    const std::int64_t start = bench.Clock.Counter();
    ASSERT_TRUE(replay.Receiver.Start());
    ASSERT_TRUE(replay.Receiver.Feed("90240 45120 5640\n56400\n"));
    ASSERT_TRUE(replay.Receiver.EndOfInput());
    bench.Loop.AdvanceBy(5000);

    ASSERT_EQ(times.Taken.size(), 6U) << gap;
    EXPECT_EQ(times.Taken[0], start);  // the first burst at once
    const std::int64_t firstEnd = start + 90240 + 45120 + 5640;
    EXPECT_GE(times.Taken[4], firstEnd + gap * Ms) << gap;
    EXPECT_LT(times.Taken[4], firstEnd + gap * Ms + Ms) << gap;
    const std::int64_t secondEnd = times.Taken[4] + 56400;
    EXPECT_EQ(replay.Outcomes, std::vector<std::string>{"done"});
    EXPECT_GE(replay.FinishedAt, secondEnd + gap * Ms) << gap;
    EXPECT_LT(replay.FinishedAt, secondEnd + gap * Ms + Ms) << gap;
  }
}

TEST(ReplayReceiver, ShortBurstsQueuedBeforeStartStillEndOneGapLater) {
  ReplayBench bench;
  Replay replay(bench, {.GapMs = 300});
  CaptureRecord press;
  press.Durations = {5640};  // played to its end the moment it starts
  ASSERT_TRUE(replay.Receiver.Queue(std::span(&press, 1)));
  ASSERT_TRUE(replay.Receiver.EndOfInput());
  const std::int64_t start = bench.Clock.Counter();
  ASSERT_TRUE(replay.Receiver.Start());
  EXPECT_TRUE(replay.Outcomes.empty());
  bench.Loop.AdvanceBy(1000);
  EXPECT_EQ(replay.Outcomes, std::vector<std::string>{"done"});
  EXPECT_GE(replay.FinishedAt, start + 5640 + 300 * Ms);
}

TEST(ReplayReceiver, TakesLinesAsTheyComeAndReportsABadOneByItsNumber) {
  ReplayBench bench;
  EdgeTimes times(bench);
  Replay replay(bench, {.GapMs = 300});
  ASSERT_TRUE(replay.Receiver.Start());
  // A comment, a record header, a burst split across pieces, an empty burst (a gap alone).
  ASSERT_TRUE(replay.Receiver.Feed("# ircorpus 1\n# remote=x button=Vol%20+\n564"));
  EXPECT_TRUE(times.Taken.empty());  // the line is not complete yet
  ASSERT_TRUE(replay.Receiver.Feed("00 56400\r\n\n"));
  EXPECT_EQ(times.Taken.size(), 1U);  // its first edge at once

  const auto bad = replay.Receiver.Feed("5640 x7 5640\n5640\n");
  ASSERT_FALSE(bad);
  EXPECT_EQ(bad.ErrorMessage(), "line 5: \"x7\" is not a positive duration in ticks");
  const auto negative = replay.Receiver.Feed("-5\n");
  ASSERT_FALSE(negative);
  EXPECT_EQ(negative.ErrorMessage(), "line 7: \"-5\" is not a positive duration in ticks");
  const auto huge = replay.Receiver.Feed("5640 2147483648\n");
  ASSERT_FALSE(huge);
  EXPECT_EQ(huge.ErrorMessage(),
            "line 8: a duration of 2147483648 ticks is no part of an infrared burst");
  const auto tooLong = replay.Receiver.Feed(std::string(70'000, '1'));
  ASSERT_FALSE(tooLong);
  EXPECT_EQ(tooLong.ErrorMessage(), "line 9: longer than 65536 characters: no list of durations");

  ASSERT_TRUE(replay.Receiver.EndOfInput());
  bench.Loop.AdvanceBy(5000);
  // The good bursts played, the bad lines skipped: 3 edges, the empty burst's gap, 2 edges.
  ASSERT_EQ(times.Taken.size(), 5U);
  EXPECT_GE(times.Taken[3] - times.Taken[2], 600 * Ms);
  EXPECT_EQ(replay.Outcomes, std::vector<std::string>{"done"});
}

TEST(ReplayReceiver, StopsAtOnceWithoutFinishing) {
  ReplayBench bench;
  EdgeTimes times(bench);
  Replay replay(bench);
  ASSERT_TRUE(replay.Receiver.Start());
  ASSERT_TRUE(replay.Receiver.Feed("90240 45120 5640\n"));
  ASSERT_TRUE(replay.Receiver.EndOfInput());
  replay.Receiver.Stop();
  bench.Loop.AdvanceBy(5000);
  EXPECT_EQ(times.Taken.size(), 1U);
  EXPECT_TRUE(replay.Outcomes.empty());
}

TEST(ReplayReceiver, PlaysLinesFromAPipeAsTheyArrive) {
  ReplayBench bench;
  EdgeTimes times(bench);
  platform::FakeIrDevice input(bench.Loop, bench.Clock);
  input.AddPipe("presses");
  Replay replay(bench, input, "presses");
  ASSERT_TRUE(replay.Receiver.Start());
  const std::int64_t start = bench.Clock.Counter();
  input.ReadAt(start + 100 * Ms, "90240 45120 ");
  input.ReadAt(start + 200 * Ms, "5640\n");
  input.ReadAt(start + 5000 * Ms, "56400\n");
  input.EndAt(start + 6000 * Ms, Done{});
  bench.Loop.AdvanceBy(4000);
  ASSERT_EQ(times.Taken.size(), 4U);
  EXPECT_GE(times.Taken[0], start + 200 * Ms);  // when its line was complete
  EXPECT_TRUE(replay.Outcomes.empty());         // the pipe is still open
  bench.Loop.AdvanceBy(4000);
  ASSERT_EQ(times.Taken.size(), 6U);
  EXPECT_GE(times.Taken[4], start + 5000 * Ms);
  EXPECT_EQ(replay.Outcomes, std::vector<std::string>{"done"});
}

TEST(ReplayReceiver, InputThatCannotBeReplayedIsAClearError) {
  ReplayBench bench;
  EdgeTimes times(bench);
  platform::FakeIrDevice input(bench.Loop, bench.Clock);
  input.AddDevice("/dev/lirc0");
  input.AddFile("bad.irc", "56400 56400 56400\n5640 oops\n5640\n");

  Replay missing(bench, input, "none.irc");
  const auto notOpened = missing.Receiver.Start();
  ASSERT_FALSE(notOpened);
  EXPECT_EQ(notOpened.ErrorMessage(), "cannot open none.irc: No such file or directory");

  Replay device(bench, input, "/dev/lirc0");
  const auto live = device.Receiver.Start();
  ASSERT_FALSE(live);
  EXPECT_EQ(live.ErrorMessage(),
            "/dev/lirc0 is a kernel IR device, not a recording: it is no input to replay");
  EXPECT_FALSE(input.IsOpen());

  Replay bad(bench, input, "bad.irc");
  ASSERT_TRUE(bad.Receiver.Start());
  bench.Loop.AdvanceBy(5000);
  EXPECT_EQ(bad.Outcomes, std::vector<std::string>{
                              "bad.irc: line 2: \"oops\" is not a positive duration in ticks"});
  EXPECT_EQ(times.Taken.size(), 1U);  // the replay ended with the error
  EXPECT_FALSE(input.IsOpen());
}

}  // namespace
}  // namespace quillon
