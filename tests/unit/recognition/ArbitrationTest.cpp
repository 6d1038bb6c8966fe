// The key matcher with button templates: how the templates and the key lookup combine, held
// buttons through repeat-only bursts, and a remote whose companion file is gone recognising
// exactly as the key lookup alone does.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "SampleRemote.h"
#include "TempFolder.h"
#include "core/config/ConfigTree.h"
#include "core/config/KeyDispatch.h"
#include "core/learning/RemoteFile.h"
#include "core/receiver/KeyMatcher.h"
#include "core/recognition/TemplateFile.h"
#include "platform/fake/FakeEventLoop.h"
#include "replay/CaptureReplay.h"
#include "replay/LearningDriver.h"
#include "replay/RecognitionRun.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

const Frame First = {9000, 4500, 560, 560, 560, 1690, 560, 1690, 560};
const Frame Second = {9000, 4500, 560, 1690, 560, 560, 560, 1690, 560};
const Frame RepeatCode = {9000, 2250, 560};

// Keys 1 (code "11") and 2 (code "22"), with templates of their frames and a repeat code.
struct TwoKeyRemote {
  TwoKeyRemote() {
    Record->KeyCount = 3;
    for (std::int32_t k = 1; k <= 2; ++k) {
      LearnedKey& key = Record->Keys[static_cast<std::size_t>(k)];
      key.KeyNumber = k;
      key.Name.Assign(k == 1 ? "FIRST" : "SECOND");
      key.Data[0].Assign(std::string(2, static_cast<char>('0' + k)));
    }
    Templates.Buttons.push_back({1, "FIRST", {{First, false}, {RepeatCode, false}}, false});
    Templates.Buttons.push_back({2, "SECOND", {{Second, false}, {RepeatCode, false}}, false});
    PrepareTemplates(Templates, Tolerance{});
  }
  std::unique_ptr<RemoteData> Record = NewRemoteData();
  RemoteTemplates Templates;
};

// The verdict for a burst of `frames`, then the lookup of `code`.
KeyMatch Send(KeyMatcher& matcher, const std::vector<Frame>& frames, const std::string& code) {
  PulseBufferArray buffer{};
  std::int32_t count = 0;
  for (const Frame& frame : frames) {
    if (count > 0) buffer[static_cast<std::size_t>(count++)] = 400'000;
    for (const std::int32_t us : frame) buffer[static_cast<std::size_t>(count++)] = us * 10;
  }
  const bool repeat = matcher.RepeatFrameVerdict(PulseTrain(buffer, count));
  return matcher.Lookup(code, repeat);
}

TEST(Arbitration, EachWayCombinesTheLookupAndTheTemplatesAsNamed) {
  const TwoKeyRemote remote;
  struct Case {
    Arbitration Way;
    std::vector<Frame> Sent;
    std::string Code;
    bool Found;
    std::int32_t Key;
  };
  const Case cases[] = {
      // The burst is key 2's; the code decoded names key 1.
      {Arbitration::TemplatesDecide, {Second}, "11", true, 2},
      {Arbitration::LookupFirst, {Second}, "11", true, 1},
      {Arbitration::TemplatesOverrule, {Second}, "11", true, 2},
      // Nothing the templates know; the code names key 1.
      {Arbitration::TemplatesDecide, {{700, 700, 700}}, "11", false, 0},
      {Arbitration::LookupFirst, {{700, 700, 700}}, "11", true, 1},
      {Arbitration::TemplatesOverrule, {{700, 700, 700}}, "11", true, 1},
      // The templates know it; the code is unknown or empty.
      {Arbitration::LookupFirst, {First}, "99", true, 1},
      {Arbitration::TemplatesDecide, {First}, "", true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Way));
    KeyMatcher matcher(*remote.Record);
    matcher.UseTemplates(&remote.Templates);
    matcher.Arbitrate = c.Way;
    const KeyMatch match = Send(matcher, c.Sent, c.Code);
    EXPECT_EQ(match.Found, c.Found);
    EXPECT_EQ(match.KeyNumber, c.Key);
    EXPECT_FALSE(matcher.TemplateAnswerPending());
  }
}

TEST(Arbitration, AHeldButtonRepeatsThroughItsRepeatOnlyBursts) {
  const TwoKeyRemote remote;
  KeyMatcher matcher(*remote.Record);
  matcher.UseTemplates(&remote.Templates);
  // Before any key, a repeat code closes the hint and finds nothing.
  const KeyMatch early = Send(matcher, {RepeatCode, RepeatCode}, "");
  EXPECT_FALSE(early.Found);
  EXPECT_TRUE(early.CloseHint);
  EXPECT_EQ(Send(matcher, {Second, RepeatCode}, "").KeyNumber, 2);
  for (int burst = 0; burst < 3; ++burst) {
    const KeyMatch held = Send(matcher, {RepeatCode, RepeatCode}, "");
    EXPECT_TRUE(held.Found);
    EXPECT_EQ(held.KeyNumber, 2);
  }
  EXPECT_EQ(Send(matcher, {First}, "").KeyNumber, 1);
  EXPECT_EQ(Send(matcher, {RepeatCode}, "").KeyNumber, 1);
}

TEST(Arbitration, WithoutTemplatesTheMatcherIsTheKeyLookup) {
  const TwoKeyRemote remote;
  const RemoteTemplates none;
  for (const RemoteTemplates* templates : {static_cast<const RemoteTemplates*>(nullptr), &none}) {
    KeyMatcher matcher(*remote.Record);
    matcher.UseTemplates(templates);
    EXPECT_EQ(Send(matcher, {Second}, "11").KeyNumber, 1);
    EXPECT_FALSE(matcher.TemplateAnswerPending());
    EXPECT_FALSE(Send(matcher, {Second}, "").Found);
  }
}

// Nothing shown, nothing carried out.
struct Silent final : HintDisplay, CommandExecutor {
  void IRShowHint(const std::string& /*text*/) override {}
  void CloseHint() override {}
  void ExecuteCommand(const CommandRecord& /*record*/) override {}
};

// The program's receive side as it was before button templates: pipeline, decoder and key
// dispatch, the dispatcher's matcher never given templates.
struct LookupOnly final : KeyDispatcher {
  explicit LookupOnly(CurrentRemote& remote)
      : Pipeline(Loop, Settings, remote.Timings, remote.Limits),
        Dispatcher(Pipeline, Tree, *remote.Record, Shown, Shown, Loop, Clock, Options) {
    Clock.AdvanceTo(platform::CounterTicksPerSecond);
    Pipeline.SetConsumers({.Dispatcher = this, .Judge = &Dispatcher.Matcher});
    Pipeline.ReceiveEnabled = true;
  }
  void KeyDispatch(const std::string& code, bool repeatFrame) override {
    Dispatcher.KeyDispatch(code, repeatFrame);
    Found.push_back({code, repeatFrame, Dispatcher.LastMatch});
  }
  std::vector<Dispatch> Press(std::span<const std::int64_t> durations) {
    Found.clear();
    PlayPress(Pipeline, Loop, Clock, durations);
    return Found;
  }
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  ReceiveSettings Settings;
  ReceivePipeline Pipeline;
  ConfigTree Tree;
  Silent Shown;
  DispatchOptions Options;
  CommandDispatcher Dispatcher;
  std::vector<Dispatch> Found;
};

TEST(Arbitration, ARemoteWithoutItsCompanionFileRecognisesAsTheLookupAlone) {
  auto records = ReadCaptureFile(test::VizioCapture);
  ASSERT_TRUE(records) << records.ErrorMessage();
  LearningScript script;
  for (const CaptureRecord& record : records.Value()) {
    script.Buttons.push_back({record.Button, {record.Durations}});
  }
  script.Producer = "Vizio";
  script.Model = "VX32L";
  const test::TempFolder folder;
  const LearningOutcome learned = LearningDriver(folder.Path, {}).Learn(script);
  ASSERT_FALSE(learned.File.empty());
  const fs::path companion = CompanionPath(learned.File);
  ASSERT_TRUE(fs::exists(companion));
  EXPECT_EQ(fs::file_size(learned.File), sizeof(RemoteData));

  CurrentRemote with;
  ASSERT_TRUE(LoadRemoteFile(learned.File, with, English));
  EXPECT_EQ(with.Templates.Buttons.size(), records.Value().size());
  fs::remove(companion);
  CurrentRemote without;
  const auto load = LoadRemoteFile(learned.File, without, English);
  ASSERT_TRUE(load);
  EXPECT_TRUE(without.Templates.Empty());
  EXPECT_EQ(std::memcmp(with.Record.get(), without.Record.get(), sizeof(RemoteData)), 0);

  RecognitionRun program(without, load.Value().MultiLevelCoding);
  CurrentRemote reference;
  ASSERT_TRUE(LoadRemoteFile(learned.File, reference, English));
  LookupOnly lookup(reference);
  lookup.Pipeline.MultiLevelCoding = load.Value().MultiLevelCoding;
  std::mt19937 random(5);
  for (int round = 0; round < 4; ++round) {
    for (const CaptureRecord& record : records.Value()) {
      const std::vector<std::int64_t> press = Jitter(record.Durations, 4 * round, random);
      const std::vector<Dispatch> got = program.Press(press);
      const std::vector<Dispatch> want = lookup.Press(press);
      ASSERT_EQ(got.size(), want.size()) << record.Button;
      for (std::size_t d = 0; d < got.size(); ++d) {
        EXPECT_EQ(got[d].Code, want[d].Code);
        EXPECT_EQ(got[d].Repeat, want[d].Repeat);
        EXPECT_EQ(got[d].Match.Found, want[d].Match.Found);
        EXPECT_EQ(got[d].Match.KeyNumber, want[d].Match.KeyNumber);
        EXPECT_EQ(got[d].Match.CloseHint, want[d].Match.CloseHint);
      }
    }
  }
}

}  // namespace
}  // namespace quillon
