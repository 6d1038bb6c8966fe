// The kernel IR receiver on virtual time: mode2 words from a live device (scripted reads) and
// from recordings, among them the committed samples/mode2 recordings of real presses.
//
// The recordings in samples/mode2 are made by this file's code from the Vizio captures of
// samples/ir-captures; SampleRecordingsAreMadeFromTheCaptures fails when they differ, and with
// QUILLON_REGENERATE_SAMPLES=1 in the environment it writes them instead.

#include "core/receiver/LircReceiver.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ReceiverBench.h"
#include "core/receiver/Mode2Word.h"
#include "platform/fake/FakeIrDevice.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using test::Codes;
using test::EdgeTimes;
using test::FileText;

constexpr std::int64_t Ms = platform::CounterTicksPerMillisecond;

const fs::path Mode2Samples = fs::path(QUILLON_SOURCE_DIR) / "samples" / "mode2";
const fs::path BinarySample = Mode2Samples / "Vizio_VX32L.lirc";
const fs::path TextSample = Mode2Samples / "Vizio_VX32L.txt";

std::uint32_t Pulse(std::uint32_t us) { return Mode2Word(Mode2Pulse, us); }
std::uint32_t Space(std::uint32_t us) { return Mode2Word(Mode2Space, us); }
std::uint32_t Timeout(std::uint32_t us) { return Mode2Word(Mode2Timeout, us); }

std::string Bytes(const std::vector<std::uint32_t>& words) {
  std::string bytes(words.size() * sizeof(std::uint32_t), '\0');
  std::memcpy(bytes.data(), words.data(), bytes.size());
  return bytes;
}

// The Vizio presses as a kernel IR device delivers them: a long quiet before the first, each
// press's pulses and spaces (in microseconds), a timeout word when the receiver falls idle
// 125 ms after the last pulse, and the rest of a second of quiet before the next press.
std::vector<std::uint32_t> VizioWords() {
  std::vector<std::uint32_t> words = {Space(Mode2ValueMask)};
  bool first = true;
  for (const CaptureRecord& press : test::VizioPresses()) {
    if (!first) words.push_back(Space(875'000));
    first = false;
    for (std::size_t i = 0; i < press.Durations.size(); ++i) {
      const auto us = static_cast<std::uint32_t>(press.Durations[i] / 10);
      words.push_back(i % 2 == 0 ? Pulse(us) : Space(us));
    }
    words.push_back(Timeout(125'000));
  }
  return words;
}

// The same words as lines of the text form.
std::string VizioText() {
  std::string text =
      "# The presses of samples/ir-captures/fz-TVs-Vizio-Vizio_VX32L.irc (Power, Vol_up,\n"
      "# Vol_dn, Mute, Input, Down) in mode2, a second apart; made by LircReceiverTest.\n";
  for (const std::uint32_t word : VizioWords()) {
    const std::uint32_t kind = Mode2Kind(word);
    text += kind == Mode2Pulse ? "pulse " : kind == Mode2Space ? "space " : "timeout ";
    text += std::to_string(Mode2Value(word)) + "\n";
  }
  return text;
}

bool Regenerating() {
  const char* value = std::getenv("QUILLON_REGENERATE_SAMPLES");
  return value != nullptr && std::string_view(value) == "1";
}

TEST(LircReceiver, SampleRecordingsAreMadeFromTheCaptures) {
  if constexpr (std::endian::native != std::endian::little) {
    GTEST_SKIP() << "the binary sample holds little-endian words";
  }
  const std::string binary = Bytes(VizioWords());
  const std::string text = VizioText();
  if (Regenerating()) {
    fs::create_directories(Mode2Samples);
    std::ofstream(BinarySample, std::ios::binary) << binary;
    std::ofstream(TextSample, std::ios::binary) << text;
  }
  EXPECT_EQ(FileText(BinarySample), binary);
  EXPECT_EQ(FileText(TextSample), text);
}

// A kernel IR receiver on the pipeline of a bench, noting what it reports.
struct Lirc {
  Lirc(ReplayBench& bench, std::string path, LircOptions options = {})
      : Bench(bench),
        Device(bench.Loop, bench.Clock),
        Receiver(bench.Pipeline, bench.Loop, bench.Clock, Device, std::move(path), Events(),
                 options) {}

  ReceiverEvents Events() {
    return {[this](const Result<Done>& outcome) {
              Outcomes.push_back(outcome ? "done" : outcome.ErrorMessage());
              FinishedAt = Bench.Clock.Counter();
            },
            [this](const std::string& problem) { Problems.push_back(problem); }};
  }
  std::vector<std::int64_t> Stored() const {
    const ReceivePipeline& p = Bench.Pipeline;
    return {p.PulseBuffer.begin(), p.PulseBuffer.begin() + p.PulseCount};
  }

  ReplayBench& Bench;
  platform::FakeIrDevice Device;
  std::vector<std::string> Outcomes;
  std::vector<std::string> Problems;
  std::int64_t FinishedAt = -1;
  LircReceiver Receiver;
};

TEST(LircReceiver, TheSampleRecordingsGiveTheCodesOfTheCaptureReplay) {
  const std::vector<std::string> expected = test::VizioReferenceCodes();
  ASSERT_EQ(expected.size(), 6U);
  for (const fs::path& sample : {BinarySample, TextSample}) {
    for (const std::size_t readSize : {std::size_t{7}, std::size_t{4096}}) {
      ReplayBench bench;
      test::UseVizioRemote(bench);
      Lirc lirc(bench, sample.filename().string());
      lirc.Device.AddFile(sample.filename().string(), FileText(sample), readSize);
      ASSERT_TRUE(lirc.Receiver.Start());
      EXPECT_EQ(lirc.Receiver.InputKind(), platform::IrInputKind::Recording);
      bench.Loop.AdvanceBy(10'000);
      EXPECT_EQ(Codes(bench), expected) << sample.filename() << ", reads of " << readSize;
      EXPECT_EQ(lirc.Outcomes, std::vector<std::string>{"done"});
      EXPECT_TRUE(lirc.Problems.empty());
      EXPECT_FALSE(lirc.Device.IsOpen());
    }
  }
}

TEST(LircReceiver, ARecordingPlaysAtItsRecordedPaceWithLongQuietShortened) {
  ReplayBench bench;
  EdgeTimes times(bench);
  Lirc lirc(bench, "held.txt", {.MaxIdleMs = 1000});
  lirc.Device.AddFile("held.txt",
                      "space 3000000\n"                      // before the first
                      "pulse 9000\nspace 4500\npulse 560\n"  // a burst
                      "timeout 125000\nspace 175000\n"       // 300 ms of quiet
                      "pulse 560\n"                          // a burst
                      "timeout 125000\nspace 4875000\n"      // 5 s: shortened
                      "pulse 560\nspace 560\n");             // no timeout
  const std::int64_t start = bench.Clock.Counter();
  ASSERT_TRUE(lirc.Receiver.Start());
  bench.Loop.AdvanceBy(5000);

  ASSERT_EQ(times.Taken.size(), 8U);
  EXPECT_LE(times.Taken[0], start + 1 * Ms);  // the first burst at once
  const std::int64_t firstEnd = times.Taken[0] + 90000 + 45000 + 5600;
  EXPECT_GE(times.Taken[4], firstEnd + 300 * Ms);
  EXPECT_LT(times.Taken[4], firstEnd + 301 * Ms);
  const std::int64_t secondEnd = times.Taken[4] + 5600;
  EXPECT_GE(times.Taken[6], secondEnd + 1000 * Ms);
  EXPECT_LT(times.Taken[6], secondEnd + 1001 * Ms);
  const std::int64_t lastEdge = times.Taken[6] + 5600;
  EXPECT_EQ(lirc.Outcomes, std::vector<std::string>{"done"});
  EXPECT_GE(lirc.FinishedAt, lastEdge + 1000 * Ms);
  EXPECT_LT(lirc.FinishedAt, lastEdge + 1001 * Ms);
}

struct LiveLircFixture : ::testing::Test {
  LiveLircFixture() {
    lirc.Device.AddDevice("/dev/lirc0");
    EXPECT_TRUE(lirc.Receiver.Start());
    EXPECT_EQ(lirc.Receiver.InputKind(), platform::IrInputKind::Live);
  }
  // A read delivering `words` `ms` after the start.
  void Read(std::int64_t ms, const std::vector<std::uint32_t>& words) {
    lirc.Device.ReadAt(Start + ms * Ms, Bytes(words));
  }

  ReplayBench bench;
  Lirc lirc{bench, "/dev/lirc0"};
  const std::int64_t Start = 1000 * Ms;
};

TEST_F(LiveLircFixture, EdgesAreTakenAsReadsComeWithTheKernelsDurations) {
  Read(10, {Space(Mode2ValueMask), Pulse(9000), Space(4500)});
  Read(50, {Pulse(560), Space(560)});  // read late: the durations still come from the words
  Read(51, {Pulse(560)});
  bench.Loop.AdvanceTo(Start + 10 * Ms);
  EXPECT_EQ(lirc.Stored(), (std::vector<std::int64_t>{90000}));  // at once, not paced
  bench.Loop.AdvanceTo(Start + 51 * Ms);
  EXPECT_EQ(lirc.Stored(), (std::vector<std::int64_t>{90000, 45000, 5600, 5600, 5600}));
}

TEST_F(LiveLircFixture, ABurstAfterQuietStartsFromTheCounterReadAtWakeUp) {
  Read(10, {Pulse(560), Space(560), Pulse(560)});
  // 215 ms of quiet ends the burst; the next pulse ends when the thread wakes, 220 ms after
  // the last one, and the pipeline's burst window (250 ms) is still open to measure the gap.
  Read(230, {Space(215'000), Pulse(560)});
  bench.Loop.AdvanceTo(Start + 230 * Ms);
  EXPECT_EQ(lirc.Stored(), (std::vector<std::int64_t>{5600, 5600, 5600, 220 * Ms - 5600, 5600}));
}

TEST_F(LiveLircFixture, GarbageWordsAreSkippedAndReportedOnce) {
  Read(10, {Pulse(560), 0x7F000001, Space(0), Space(560), 0x7F000002, Pulse(560)});
  bench.Loop.AdvanceTo(Start + 10 * Ms);
  EXPECT_EQ(lirc.Stored(), (std::vector<std::int64_t>{5600, 5600, 5600}));
  EXPECT_EQ(lirc.Problems,
            (std::vector<std::string>{
                "/dev/lirc0: word 2: unknown kind 0x7F; words of unknown kinds are skipped",
                "/dev/lirc0: word 3: a space of length 0; words of length 0 are skipped"}));
  EXPECT_TRUE(lirc.Outcomes.empty());
}

TEST_F(LiveLircFixture, ADeviceThatGoesAwayFinishesWithItsError) {
  lirc.Device.EndAt(Start + 10 * Ms, Error{"the IR device /dev/lirc0 is gone: No such device"});
  bench.Loop.AdvanceTo(Start + 10 * Ms);
  EXPECT_EQ(lirc.Outcomes,
            std::vector<std::string>{"the IR device /dev/lirc0 is gone: No such device"});
  EXPECT_FALSE(lirc.Device.IsOpen());
}

TEST_F(LiveLircFixture, StoppingClosesTheDeviceWithoutFinishing) {
  Read(10, {Pulse(560)});
  lirc.Receiver.Stop();
  bench.Loop.AdvanceTo(Start + 100 * Ms);
  EXPECT_FALSE(lirc.Device.IsOpen());
  EXPECT_TRUE(lirc.Stored().empty());
  EXPECT_TRUE(lirc.Outcomes.empty());
}

TEST(LircReceiver, BadRecordingsFinishWithAClearErrorWhereItIsFound) {
  std::string truncated = FileText(BinarySample);
  truncated.pop_back();
  const struct {
    std::string Content;
    std::string Outcome;
    std::size_t Edges;  // played before the error was found
  } cases[] = {
      // Read in one piece: its first burst began before the end showed the damage.
      {truncated,
       "rec: it ends inside a word, 3 bytes after the last whole one: a recording holds whole "
       "32-bit words",
       1},
      {"", "rec: it holds nothing: no mode2 words", 0},
      {"pulse 9000\nspace 4500\npluse 560\n",
       "rec: line 3: \"pluse 560\" is no pulse, space or timeout line", 0},
  };
  for (const auto& c : cases) {
    ReplayBench bench;
    EdgeTimes times(bench);
    Lirc lirc(bench, "rec");
    lirc.Device.AddFile("rec", c.Content);
    ASSERT_TRUE(lirc.Receiver.Start());
    bench.Loop.AdvanceBy(10'000);
    EXPECT_EQ(lirc.Outcomes, std::vector<std::string>{c.Outcome});
    EXPECT_EQ(times.Taken.size(), c.Edges) << c.Outcome;
    EXPECT_FALSE(lirc.Device.IsOpen());
  }

  ReplayBench bench;
  Lirc missing(bench, "none");
  const auto started = missing.Receiver.Start();
  ASSERT_FALSE(started);
  EXPECT_EQ(started.ErrorMessage(), "cannot open none: No such file or directory");
}

}  // namespace
}  // namespace quillon
