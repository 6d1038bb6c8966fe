#include "core/learning/ReceiverRetune.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "LearningBench.h"
#include "TempFolder.h"
#include "config/EditorBench.h"
#include "core/learning/RemoteFile.h"
#include "core/receiver/DiscoveryTexts.h"

namespace quillon {
namespace {

constexpr std::uint8_t TimingInUse = 'A';

TEST(StepAfterRemoteChange, OnlyAMicrocontrollerReceiverIsRetuned) {
  struct Case {
    bool Ptk;
    std::int32_t Version;
    std::uint8_t FileT;
    RetuneStep Expected;
  };
  const Case cases[] = {
      {false, RemoteVersion, 'B', RetuneStep::None},
      {false, 1500, 'B', RetuneStep::None},
      {true, RemoteVersion, TimingInUse, RetuneStep::None},
      {true, RemoteVersion, 'B', RetuneStep::Restart},
      {true, RemoteVersion, 32, RetuneStep::Restart},
      {true, RemoteVersion, 125, RetuneStep::Restart},
      {true, RemoteVersion, 31, RetuneStep::None},  // no printable timing
      {true, RemoteVersion, 126, RetuneStep::None},
      {true, RemoteVersion, 0, RetuneStep::None},
      {true, 1500, 'B', RetuneStep::AskCorrection},
      {true, 0, ' ', RetuneStep::AskCorrection},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Version) + " T=" + std::to_string(c.FileT));
    auto remote = NewRemoteData();
    remote->Version = c.Version;
    remote->ReceiverT = static_cast<char>(c.FileT);
    EXPECT_EQ(StepAfterRemoteChange(*remote, c.Ptk, TimingInUse), c.Expected);
  }
}

struct ReadyLines : ReceiverReadyConsumer {
  void ReceiverReadyCheck(const std::string& code, std::uint8_t) override { Codes.push_back(code); }
  std::vector<std::string> Codes;
};

// A microcontroller receiver whose lines reach the correction first, then the learning
// window's check (recorded); and the file of a remote learned by an older version.
struct RetuneBench : ::testing::Test, test::PtkBench {
  RetuneBench() {
    Retune.Next = &Learning;
    Protocol.SetConsumers({}, {&Retune, nullptr});
    Remote.Record->Version = 1500;
    Remote.Record->KeyCount = 3;
    EXPECT_TRUE(WriteRemoteRecord(File, *Remote.Record));
  }

  void PressButtonOne(std::int32_t times) {
    for (std::int32_t i = 0; i < times; ++i) Send(test::KeyA);
  }

  std::unique_ptr<RemoteData> StoredRecord() {
    const std::string bytes = test::ReadFile(File);
    auto record = NewRemoteData();
    EXPECT_EQ(bytes.size(), sizeof(RemoteData));
    std::memcpy(static_cast<void*>(record.get()), bytes.data(), sizeof(RemoteData));
    return record;
  }

  void ExpectKeyDispatchAgain() {
    EXPECT_FALSE(Retune.Correcting());
    EXPECT_EQ(View.ProgressCloses, 1);
    EXPECT_EQ(Pipeline.ReceiveMode, ReceiveModeKind::Execute);
    EXPECT_TRUE(Pipeline.ReceiveEnabled);
  }

  std::filesystem::path File = Folder.Path / "Old_Remote.IRD";
  test::FakeMessageBoxes Boxes;
  ReadyLines Learning;
  ReceiverRetune Retune{{Pipeline, Protocol, *Remote.Record, Boxes, View, Language}};
};

TEST_F(RetuneBench, FivePressesTuneTheReceiverAndCompleteTheFile) {
  AnswerStartUp('\\');  // the threshold byte 82, plus 10
  Pipeline.ReceiveEnabled = false;
  Retune.CorrectData(File);
  EXPECT_TRUE(Retune.Correcting());
  EXPECT_EQ(Pipeline.ReceiveMode, ReceiveModeKind::Pause);
  EXPECT_TRUE(Pipeline.ReceiveEnabled);
  EXPECT_EQ(View.ProgressLines,
            std::vector<std::string>{"Please press the button №1 five(5) times running"});

  Send(":\x7fR+6");  // too short to count
  PressButtonOne(4);
  EXPECT_TRUE(Retune.Correcting());
  EXPECT_EQ(View.ProgressLines.back(), "№4 -> 010001 ....Ok");
  PressButtonOne(1);

  ExpectKeyDispatchAgain();
  EXPECT_EQ(Device.Written(), "RX>SpRX>T\\RX>St");
  const auto stored = StoredRecord();
  EXPECT_EQ(stored->Version, RemoteVersion);
  EXPECT_EQ(stored->ReceiverT, '\\');
  EXPECT_EQ(stored->KeyCount, 3);
  EXPECT_TRUE(Boxes.Shown.empty());
  EXPECT_TRUE(Learning.Codes.empty());
}

TEST_F(RetuneBench, ASilentReceiverOrCancelLeavesTheFileAsItWas) {
  const std::string before = test::ReadFile(File);
  // No answer from the receiver.
  Retune.CorrectData(File);
  PressButtonOne(5);
  ExpectKeyDispatchAgain();
  ASSERT_EQ(Boxes.Shown.size(), 1U);
  EXPECT_EQ(Boxes.Shown[0].Text, Text(DiscoveryText::UnableInitialize, English));

  View.ProgressCloses = 0;
  Pipeline.PtkFound = true;
  Retune.CorrectData(File);
  PressButtonOne(2);
  Retune.ProgressCancelClick();
  ExpectKeyDispatchAgain();
  EXPECT_EQ(test::ReadFile(File), before);

  // Outside a correction the learning window's check takes the lines.
  Pipeline.ReceiveMode = ReceiveModeKind::Pause;
  PressButtonOne(1);
  EXPECT_EQ(Learning.Codes, std::vector<std::string>{"010001"});
}

// The editor on a change of remote type, with the receiver side recorded.
struct ReceiverCalls : RemoteTypeReceiver {
  bool MicrocontrollerInUse() const override { return true; }
  std::uint8_t ReceiverTInUse() const override { return TimingInUse; }
  void RestartWithTiming(std::uint8_t t) override { Restarts.push_back(t); }
  void CorrectData(const std::filesystem::path& file) override { Corrected.push_back(file); }
  std::vector<std::uint8_t> Restarts;
  std::vector<std::filesystem::path> Corrected;
};

// The editor over the sample remote, its file first changed by `patch`, with the receiver side
// recorded.
struct RemoteTypeChange {
  RemoteTypeChange(const std::function<void(std::string& bytes)>& patch, LanguageFlag language) {
    Bench.Language = language;
    std::string bytes = test::ReadFile(File);
    patch(bytes);
    test::WriteFile(File, bytes);
    Editor.UseReceiver(&Receiver);
    EXPECT_TRUE(Editor.StartUp(test::VizioType, ""));
  }

  test::EditorBench Bench;
  std::filesystem::path File = Bench.Folder.Path / "Vizio_VX32L.IRD";
  test::FakeEditorView View;
  ConfigEditor Editor{Bench.Context(), View};
  ReceiverCalls Receiver;
};

TEST(RemoteTypeChange, AnOldRemoteFileIsCorrectedOnlyWhenTheUserAgrees) {
  struct Case {
    LanguageFlag Language;
    MessageAnswer Answer;
    std::string Question;
  };
  const std::string name(test::VizioType);
  const Case cases[] = {
      {English, MessageAnswer::Yes, name + ": Old data found! Correcting data?"},
      {Bulgarian, MessageAnswer::No,
       "Данните за ДУ \"" + name +
           "\" не са пълни!\r\nЖелаете ли да се извърши корекция на данните?"},
  };
  for (const Case& c : cases) {
    RemoteTypeChange change(
        [](std::string& bytes) {
          const std::int32_t oldVersion = 1500;
          std::memcpy(bytes.data(), &oldVersion, sizeof oldVersion);
        },
        c.Language);
    change.Bench.Boxes.Answers = {c.Answer};
    change.Editor.RmtCtrlChange(test::VizioType);

    ASSERT_EQ(change.Bench.Boxes.Shown.size(), 1U);
    EXPECT_EQ(change.Bench.Boxes.Shown[0].Text, c.Question);
    const std::vector<std::filesystem::path> corrected = c.Answer == MessageAnswer::Yes
                                                             ? std::vector{change.File}
                                                             : std::vector<std::filesystem::path>{};
    EXPECT_EQ(change.Receiver.Corrected, corrected);
    EXPECT_TRUE(change.Receiver.Restarts.empty());
    EXPECT_EQ(change.Bench.Tree.Count(), 7);  // the keys are there either way
  }
}

TEST(RemoteTypeChange, ARemoteWithItsOwnTimingRestartsTheReceiver) {
  RemoteTypeChange change([](std::string& bytes) { bytes[offsetof(RemoteData, ReceiverT)] = 'Z'; },
                          English);
  change.Editor.RmtCtrlChange(test::VizioType);
  EXPECT_EQ(change.Receiver.Restarts, std::vector<std::uint8_t>{'Z'});
  EXPECT_TRUE(change.Bench.Boxes.Shown.empty());
}

}  // namespace
}  // namespace quillon
