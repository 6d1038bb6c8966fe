// quillon-tool learn and recognize as a user runs them, and the pieces they share with the
// recognition benchmark: the presses a held button makes, the scoring of a press.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "SampleRemote.h"
#include "TempFolder.h"
#include "ToolRun.h"
#include "core/learning/RemoteFile.h"
#include "quillon-ptk-sim/LineForm.h"
#include "replay/CaptureReplay.h"
#include "replay/LearningDriver.h"
#include "replay/PressMaker.h"
#include "replay/RecognitionRun.h"
#include "replay/SimulatedPtk.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

using test::RunTool;
using test::ToolRun;

std::vector<CaptureRecord> VizioRecords() {
  auto records = ReadCaptureFile(test::VizioCapture);
  EXPECT_TRUE(records) << records.ErrorMessage();
  return records ? records.Value() : std::vector<CaptureRecord>{};
}

// Writes records as a capture file; `extra` is added to each header.
fs::path WriteCaptures(const fs::path& file, const std::vector<CaptureRecord>& records) {
  std::ofstream out(file);
  out << "# ircorpus 1\n";
  for (const CaptureRecord& record : records) {
    out << "# remote=test button=" << record.Button;
    if (!record.SameAs.empty()) out << " same_as=" << record.SameAs;
    out << "\n";
    for (std::size_t i = 0; i < record.Durations.size(); ++i) {
      out << (i == 0 ? "" : " ") << record.Durations[i];
    }
    out << "\n";
  }
  return file;
}

// Fresh presses of the Vizio buttons: each recording moved by up to 3 %.
std::vector<CaptureRecord> FreshPresses(std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<CaptureRecord> fresh = VizioRecords();
  for (CaptureRecord& record : fresh) record.Durations = Jitter(record.Durations, 3, random);
  return fresh;
}

std::string Learn(const test::TempFolder& folder, const std::string& options,
                  const fs::path& captures, ToolRun& run) {
  const fs::path out = folder.Path / "learned.IRD";
  run = RunTool("learn --out " + out.string() + " --producer Vizio --model VX32L " + options + " " +
                    captures.string(),
                folder);
  return out.string();
}

TEST(LearnRecognize, ARemoteLearnedFromItsCapturesKnowsFreshPressesOfEveryButton) {
  for (const char* receiver : {"pts", "ptk"}) {
    SCOPED_TRACE(receiver);
    test::TempFolder folder;
    ToolRun learn;
    const std::string remote =
        Learn(folder, std::string("--receiver ") + receiver, test::VizioCapture, learn);
    ASSERT_EQ(learn.Status, 0) << learn.Err;
    EXPECT_NE(learn.Out.find("№1 -> "), std::string::npos);
    EXPECT_NE(learn.Out.find("*****END*****"), std::string::npos);
    // The receiver's start-up at program start is not in the log: Start clears it.
    EXPECT_TRUE(learn.Out.starts_with("*****Begin of test: DETERMINE SIGNAL LENGTH*****\n"));

    CurrentRemote loaded;
    const auto load = LoadRemoteFile(remote, loaded, English);
    ASSERT_TRUE(load && load.Value().Found);
    EXPECT_EQ(loaded.Record->KeyCount, 7);
    EXPECT_EQ(loaded.Record->Keys[2].Name.Text(), "VOL_UP");
    EXPECT_EQ(loaded.Record->LearnedWithPTK, std::string(receiver) == "ptk" ? 1 : 0);

    const fs::path fresh = WriteCaptures(folder.Path / "fresh.irc", FreshPresses(11));
    const ToolRun recognize =
        RunTool("recognize --remote " + remote + " " + fresh.string(), folder);
    ASSERT_EQ(recognize.Status, 0) << recognize.Err;
    EXPECT_NE(recognize.Out.find("Vol_up: 1 correct, 0 wrong, 0 unrecognized\n"), std::string::npos)
        << recognize.Out;
    EXPECT_NE(recognize.Out.find("total: 6 correct, 0 wrong, 0 unrecognized, 0 unlabelled\n"),
              std::string::npos)
        << recognize.Out;
  }
}

TEST(LearnRecognize, AHeldButtonGivesTheHoldButtonTestItsRepeatFrame) {
  test::TempFolder folder;
  const std::vector<CaptureRecord> records = VizioRecords();
  ASSERT_FALSE(records.empty());
  CaptureRecord held = records.front();
  held.Durations = HoldPress(CaptureTransmission(held.Durations), 30'000'000);  // three seconds
  const fs::path hold = WriteCaptures(folder.Path / "hold.irc", {held});
  ToolRun learn;
  const std::string remote =
      Learn(folder, "--quiet --hold " + hold.string(), test::VizioCapture, learn);
  ASSERT_EQ(learn.Status, 0) << learn.Err;
  EXPECT_TRUE(learn.Out.empty());
  CurrentRemote loaded;
  ASSERT_TRUE(LoadRemoteFile(remote, loaded, English));
  EXPECT_EQ(loaded.Record->Repeat.Valid, 1);

  // Held a second, a button's repeat frames find it again after its code.
  CaptureRecord second = records[1];
  second.Durations = HoldPress(CaptureTransmission(second.Durations), 10'000'000);
  const fs::path presses = WriteCaptures(folder.Path / "held.irc", {second});
  const ToolRun recognize =
      RunTool("recognize --json --remote " + remote + " " + presses.string(), folder);
  EXPECT_NE(recognize.Out.find("\"label\":\"Vol_up\",\"key\":2,\"name\":\"VOL_UP\""),
            std::string::npos)
      << recognize.Out;
}

// A failing step is named with its reason, and the run ends with status 1; a step that stops
// learning leaves no file, a button left out does not keep the others from being saved.
TEST(LearnRecognize, AFailingStepIsNamedAndGivesStatus1) {
  const std::vector<CaptureRecord> vizio = VizioRecords();
  ASSERT_EQ(vizio.size(), 6U);
  const CaptureRecord tap{"test", "Tap", "", {90'000, 45'000, 5'600}, 0};
  CaptureRecord powerAgain = vizio.front();
  powerAgain.Button = "POWER";
  CaptureRecord broken = tap;
  broken.Button = "Broken";
  using Recorded = std::vector<CaptureRecord>;
  struct Case {
    Recorded Records;
    std::string Options;
    std::string Message;
    bool Saved;
  };
  const std::vector<Case> cases = {
      // A held button that sends nothing.
      {Recorded{vizio[0]}, "--producer Vizio --hold HELD",
       "hold-button test: it did not take ten bursts from 10 presses", false},
      {Recorded{vizio[0], broken, vizio[1]}, "--producer Vizio",
       "button \"Broken\": no frame was found in its 1 press", true},
      {Recorded{vizio[0], powerAgain}, "--producer Vizio",
       "button \"POWER\": Button name \"POWER\" exists! Change the button name!", true},
      {Recorded{vizio[0]}, "--producer '<>'", "save: the save dialog takes a producer and a model",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Message);
    test::TempFolder folder;
    const fs::path captures = WriteCaptures(folder.Path / "c.irc", c.Records);
    const fs::path held = WriteCaptures(folder.Path / "held.irc", {{"test", "Held", "", {}, 0}});
    std::string options = c.Options;
    if (const auto at = options.find("HELD"); at != std::string::npos) {
      options.replace(at, 4, held.string());
    }
    const fs::path out = folder.Path / "out.IRD";
    const ToolRun run = RunTool(
        "learn --quiet --out " + out.string() + " --model M " + options + " " + captures.string(),
        folder);
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(run.Err.starts_with("quillon-tool: " + c.Message)) << run.Err;
    EXPECT_EQ(fs::exists(out), c.Saved);
  }
}

TEST(LearnRecognize, BadInputGivesStatus2) {
  test::TempFolder folder;
  std::ofstream(folder.Path / "nolabel.irc") << "# remote=x\n1000 2000 3000\n";
  std::ofstream(folder.Path / "bad.irc") << "# remote=x button=A\n1000 x\n";
  const std::string out = " --out " + (folder.Path / "o.IRD").string();
  const std::string nolabel = (folder.Path / "nolabel.irc").string();
  const std::string bad = (folder.Path / "bad.irc").string();
  struct Case {
    std::string Arguments;
    std::string Message;
  };
  const std::vector<Case> cases = {
      {"learn --producer P --model M" + out + " " + nolabel,
       "nolabel.irc: line 1: the record has no button label"},
      {"learn --producer P --model M" + out + " " + bad, "bad.irc: line 2:"},
      {"learn --producer P --model M" + out + " " + (folder.Path / "none.irc").string(),
       "cannot open"},
      {"learn --producer P --model M --receiver usb" + out + " " + bad, "--receiver"},
      {"recognize --remote " + (folder.Path / "none.IRD").string() + " " + bad, "no such file"},
  };
  for (const Case& c : cases) {
    const ToolRun run = RunTool(c.Arguments, folder);
    EXPECT_EQ(run.Status, 2) << c.Arguments;
    EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
    EXPECT_TRUE(run.Out.empty());
  }
}

TEST(LearnRecognize, JsonGivesEachBurstThenTheSummary) {
  test::TempFolder folder;
  ToolRun learn;
  const std::string remote = Learn(folder, "--quiet", test::VizioCapture, learn);
  ASSERT_EQ(learn.Status, 0) << learn.Err;

  std::vector<CaptureRecord> presses = FreshPresses(5);
  CaptureRecord muteAsPower = presses[0];  // a press of Power labelled Mute: wrong
  muteAsPower.Button = "Mute";
  CaptureRecord unknown = presses[1];  // a button never learned: unlabelled
  unknown.Button = "Eject";
  CaptureRecord alias = presses[3];  // recorded as the same code as Mute: counts as Mute
  alias.Button = "Silence";
  alias.SameAs = "Mute";
  CaptureRecord nothing{"test", "Down", "", {1000, 2000, 3000}, 0};  // no frame: unrecognized
  presses.insert(presses.end(), {muteAsPower, unknown, alias, nothing});
  const fs::path file = WriteCaptures(folder.Path / "p.irc", presses);

  const ToolRun run = RunTool("recognize --json --remote " + remote + " " + file.string(), folder);
  ASSERT_EQ(run.Status, 0) << run.Err;
  std::vector<std::string> lines;
  for (std::size_t at = 0, end = 0; (end = run.Out.find('\n', at)) != std::string::npos;
       at = end + 1) {
    lines.push_back(run.Out.substr(at, end - at));
  }
  ASSERT_EQ(lines.size(), 11U) << run.Out;
  EXPECT_TRUE(lines[0].starts_with(
      "{\"burst\":1,\"label\":\"Power\",\"key\":1,\"name\":\"POWER\",\"code\":\"2"))
      << lines[0];
  EXPECT_TRUE(lines[6].starts_with("{\"burst\":7,\"label\":\"Mute\",\"key\":1,\"name\":\"POWER\""))
      << lines[6];
  EXPECT_TRUE(lines[7].starts_with("{\"burst\":8,\"label\":\"Eject\",\"key\":2,")) << lines[7];
  EXPECT_EQ(lines[9],
            "{\"burst\":10,\"label\":\"Down\",\"key\":null,\"name\":null,\"code\":\"\","
            "\"repeat\":false}");
  EXPECT_EQ(lines[10],
            "{\"summary\":{\"correct\":7,\"wrong\":1,\"unrecognized\":1,\"unlabelled\":1}}");

  const ToolRun text = RunTool("recognize --remote " + remote + " " + file.string(), folder);
  EXPECT_NE(text.Out.find("Mute: 1 correct, 1 wrong, 0 unrecognized; taken for POWER (1)\n"),
            std::string::npos)
      << text.Out;
  EXPECT_NE(text.Out.find("total: 7 correct, 1 wrong, 1 unrecognized, 1 unlabelled (labels "
                          "naming no learned key: \"Eject\")\n"),
            std::string::npos)
      << text.Out;
}

TEST(LearnRecognize, AHeldButtonSendsItsMessageThenRepeatsAtItsPeriod) {
  constexpr std::int64_t Ms = 10'000;
  // An NEC-like recording: the code (15.18 ms), then after 40 ms its shorter repeat frame.
  const PressDurations code = {90'000, 45'000, 5'600, 5'600, 5'600};
  const PressDurations repeat = {90'000, 22'500, 5'600};
  PressDurations recording = code;
  recording.push_back(40 * Ms);
  recording.insert(recording.end(), repeat.begin(), repeat.end());
  PressDurations twoRepeats = recording;
  twoRepeats.push_back(151'800 + 40 * Ms - 118'100);  // the period of the code: 55.18 ms
  twoRepeats.insert(twoRepeats.end(), repeat.begin(), repeat.end());
  // Two frames of one length and another content: a message of two frames, always both.
  const PressDurations other = {90'000, 45'000, 16'800, 5'600, 5'600};
  PressDurations pair = code;
  pair.push_back(30 * Ms);
  pair.insert(pair.end(), other.begin(), other.end());
  // A recording of A, B, A: A and B are sent again in turn while the button is held.
  PressDurations cycle = pair;
  cycle.push_back(35 * Ms);
  cycle.insert(cycle.end(), code.begin(), code.end());
  PressDurations cycled = cycle;
  cycled.push_back(30 * Ms);
  cycled.insert(cycled.end(), other.begin(), other.end());
  const PressDurations shortFrame = {5'000, 5'000, 5'000};
  const PressDurations longFrame(121, 5'000);  // 60.5 ms: an air conditioner's state
  struct Case {
    PressDurations Recording;
    std::int64_t HoldMs;
    PressDurations Expected;
  };
  const std::vector<Case> cases = {
      {recording, 5, recording},  // the whole message however briefly it is pressed
      {recording, 100, recording},
      {recording, 120, twoRepeats},
      {pair, 5, pair},
      {cycle, 5, pair},
      {cycle, 150, cycled},
      {shortFrame, 10, shortFrame},
      {shortFrame, 150, {5'000, 5'000, 5'000, 108 * Ms - 15'000, 5'000, 5'000, 5'000}},
      {longFrame, 300, longFrame},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HoldPress(CaptureTransmission(c.Recording), c.HoldMs * Ms), c.Expected) << c.HoldMs;
  }
}

TEST(LearnRecognize, AReceiverSkewsMarksLongerAndSpacesShorter) {
  std::mt19937 random(1);
  EXPECT_EQ(Received(PressDurations{5'000, 5'000, 500, 16'000, 5'000}, 600, 0, random),
            (PressDurations{5'600, 4'400, 1'100, 15'400, 5'600}));
  EXPECT_EQ(Received(PressDurations{100, 300}, 600, 0, random), (PressDurations{700, 1}));
}

TEST(LearnRecognize, ALabelIsLearnedUnderTheNameTheNameBoxMakesOfIt) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Vol_up", "VOL_UP"},
      {"  Vol <+> ", "VOL +"},
      {"{[]}", ""},
      {std::string(70, 'a'), std::string(64, 'A')}};
  for (const auto& [label, name] : cases) EXPECT_EQ(LearnedName(label), name) << label;
}

TEST(LearnRecognize, AnotherButtonFoundOutweighsTheRightOne) {
  auto remote = NewRemoteData();
  remote->KeyCount = 4;
  remote->Keys[1].Name.Assign("POWER");
  remote->Keys[2].Name.Assign("MUTE");
  remote->Keys[3].Name.Assign("SILENCE");
  NameClasses classes;
  classes.Join("Silence", "mute");
  classes.Join("Quiet", "SILENCE");  // joined in a chain: one button
  const auto key = [](std::int32_t number, std::string code) {
    return Dispatch{std::move(code), false, {true, number, false}};
  };
  const Dispatch none{"", false, {}};
  const Dispatch unknownCode{"0101", false, {}};
  struct Case {
    std::string Label;
    std::vector<Dispatch> Dispatches;
    Verdict Of;
    std::optional<std::int32_t> Key;
    std::string Code;
  };
  const std::vector<Case> cases = {
      {"Power", {key(1, "11")}, Verdict::Correct, 1, "11"},
      {"power", {none, key(1, "11"), key(1, "")}, Verdict::Correct, 1, "11"},
      {"Power", {key(1, "11"), key(2, "22")}, Verdict::Wrong, 2, "22"},
      {"Mute", {key(3, "33")}, Verdict::Correct, 3, "33"},  // same_as: one button
      {"Quiet", {key(2, "22")}, Verdict::Correct, 2, "22"},
      {"Power", {none, unknownCode}, Verdict::Unrecognized, std::nullopt, "0101"},
      {"Eject", {key(1, "11")}, Verdict::Unlabelled, 1, "11"},
      {"", {none}, Verdict::Unlabelled, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    const PressOutcome outcome = JudgePress(c.Label, c.Dispatches, *remote, classes);
    EXPECT_EQ(outcome.Of, c.Of) << c.Label;
    EXPECT_EQ(outcome.Key, c.Key) << c.Label;
    EXPECT_EQ(outcome.Code, c.Code) << c.Label;
  }
}

// The user presses the first button again while the signal-length test lacks codes, up to 15
// presses: a tap that gives no frame does not end learning.
TEST(LearnRecognize, TheFirstButtonIsPressedAgainUntilTheTestHasFiveCodes) {
  const std::vector<CaptureRecord> vizio = VizioRecords();
  ASSERT_FALSE(vizio.empty());
  const PressDurations& good = vizio.front().Durations;
  const PressDurations tap = {90'000, 45'000, 5'600};
  struct Case {
    std::vector<PressDurations> Presses;
    std::vector<std::string> Failures;
  };
  const std::vector<Case> cases = {
      {{tap, good}, {}},
      {{tap, tap, good}, {}},  // the fifth code comes with the fifteenth press
      {{tap, tap, tap, good},
       {"signal-length test: 3 of 15 presses gave a code of six or more symbols (code lengths "
        "66, 66, 66)"}},
  };
  for (const Case& c : cases) {
    test::TempFolder folder;
    std::vector<std::string> log;
    const LearningDriver driver(folder.Path, [&](const std::string& line) { log.push_back(line); });
    const LearningOutcome outcome = driver.Learn({{{"Power", c.Presses}}, {}, "Vizio", "VX32L"});
    std::vector<std::string> failures;
    for (const StepFailure& failure : outcome.Failures) failures.push_back(failure.Text());
    EXPECT_EQ(failures, c.Failures) << c.Presses.size();
    EXPECT_EQ(outcome.File.empty(), !c.Failures.empty());
    EXPECT_EQ(std::count(log.begin(), log.end(), "*****END*****"), c.Failures.empty() ? 1 : 0);
  }
}

// Bursts are recognised one after another as in the program: a repeat frame repeats the key
// found last, and a long burst that found nothing leaves no key to repeat.
TEST(LearnRecognize, TheDispatcherStateCarriesFromPressToPress) {
  const std::vector<CaptureRecord> vizio = VizioRecords();
  ASSERT_EQ(vizio.size(), 6U);
  test::TempFolder folder;
  LearningScript script;
  for (const CaptureRecord& record : vizio)
    script.Buttons.push_back({record.Button, {record.Durations}});
  script.HoldPresses = {HoldPress(CaptureTransmission(vizio.front().Durations), 30'000'000)};
  script.Producer = "Vizio";
  script.Model = "VX32L";
  const LearningOutcome learned = LearningDriver(folder.Path, {}).Learn(script);
  ASSERT_FALSE(learned.File.empty());
  CurrentRemote remote;
  const auto load = LoadRemoteFile(learned.File, remote, English);
  ASSERT_TRUE(load && load.Value().Found);
  ASSERT_EQ(remote.Record->Repeat.Valid, 1);

  const PressDurations& volUp = vizio[1].Durations;
  const PressDurations repeatFrame(volUp.end() - 3, volUp.end());
  const PressDurations noise(25, 5'000);
  struct Step {
    PressDurations Press;
    std::optional<std::int32_t> Key;
    bool Repeat;
  };
  const std::vector<Step> steps = {
      {volUp, 2, false},      {repeatFrame, 2, true},       {vizio[3].Durations, 4, false},
      {repeatFrame, 4, true}, {noise, std::nullopt, false}, {repeatFrame, std::nullopt, true},
  };
  RecognitionRun run(remote, load.Value().MultiLevelCoding);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const std::vector<Dispatch> dispatched = run.Press(steps[i].Press);
    ASSERT_EQ(dispatched.size(), 1U) << i;
    EXPECT_EQ(dispatched[0].Repeat, steps[i].Repeat) << i;
    EXPECT_EQ(
        dispatched[0].Match.Found ? std::optional(dispatched[0].Match.KeyNumber) : std::nullopt,
        steps[i].Key)
        << i;
  }
}

// The simulated microcontroller receiver answers the program's commands as the simulator does
// and sends a press only once started, framed by the T it was given.
TEST(LearnRecognize, TheSimulatedReceiverSendsPressesOnceStarted) {
  const std::vector<CaptureRecord> vizio = VizioRecords();
  ASSERT_FALSE(vizio.empty());
  const PressDurations& press = vizio.front().Durations;
  platform::FakeClock clock;
  platform::FakeEventLoop loop(clock);
  SimulatedPtk device(loop, clock);
  std::string received;
  platform::SerialHandlers handlers;
  handlers.DataReceived = [&](std::int64_t, std::size_t) { received += device.ReadAll(); };
  ASSERT_TRUE(device.Open("COM1", handlers));
  device.Press(press);
  EXPECT_EQ(received, "");

  device.Write("RX>T");
  device.Write("g");
  device.Write("RX>St");
  loop.AdvanceBy(10);
  EXPECT_EQ(received, "RX>Tg\r\nNewRX-Tg\r\nRX>St\r\nNewRX-S,t\r\n");
  received.clear();
  device.Press(press);
  std::string lines;
  for (const ptksim::TimedLine& line : ptksim::EncodePress(press, 'g')) lines += line.Bytes;
  EXPECT_EQ(received, lines);
  EXPECT_EQ(std::count(received.begin(), received.end(), '\n'), 2);  // the code and its repeat
}

}  // namespace
}  // namespace quillon
