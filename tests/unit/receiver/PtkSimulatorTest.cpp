// The receiver simulator's line form, read back by the program's line decoder, on the
// recordings of real remotes; and its answers to the receiver commands.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/receiver/CaptureFile.h"
#include "core/receiver/PtkLineDecoder.h"
#include "core/receiver/PtkProtocol.h"
#include "core/receiver/PtkReplies.h"
#include "quillon-ptk-sim/LineForm.h"
#include "quillon-ptk-sim/SimReceiver.h"
#include "replay/CaptureReplay.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

std::vector<CaptureRecord> Captures(const std::string& remote) {
  const auto records =
      ReadCaptureFile(fs::path(QUILLON_SOURCE_DIR) / "samples" / "ir-captures" / (remote + ".irc"));
  EXPECT_TRUE(records) << records.ErrorMessage();
  return records ? records.Value() : std::vector<CaptureRecord>{};
}

std::string WithoutLineEnd(const std::string& bytes) { return bytes.substr(0, bytes.size() - 2); }

// The frame lines of a press as the program decodes them (button-capture variant).
std::vector<std::string> FrameLines(const std::vector<std::int64_t>& durations,
                                    std::uint8_t receiverT) {
  std::vector<std::string> lines;
  for (const ptksim::TimedLine& line : ptksim::EncodePress(durations, receiverT)) {
    const std::string text = WithoutLineEnd(line.Bytes);
    if (text.size() >= 6) lines.push_back(text);
  }
  return lines;
}

std::string Decode(const std::string& line) {
  RepeatAccumulator repeats;
  return DecodeKeyLine(line, LineVariant::Keys, repeats, {}).Code;
}

// The code of a press: that of its frames of full length, which all give it. A frame of
// another length is one the recording caught in its middle.
std::string PressCode(const std::vector<std::int64_t>& durations, std::uint8_t receiverT) {
  const std::vector<std::string> lines = FrameLines(durations, receiverT);
  if (lines.empty()) return "";
  std::size_t full = 0;
  for (const std::string& line : lines) full = std::max(full, line.size());
  std::set<std::string> codes;
  for (const std::string& line : lines) {
    if (line.size() == full) codes.insert(Decode(line));
  }
  return codes.size() == 1 ? *codes.begin() : "";
}

TEST(PtkSimulatorLineForm, DurationsBecomeBytesOfEightyMicroseconds) {
  EXPECT_EQ(ptksim::DurationValue(0), 37);
  EXPECT_EQ(ptksim::DurationValue(399), 37);
  EXPECT_EQ(ptksim::DurationValue(400), 38);
  EXPECT_EQ(ptksim::DurationValue(5600), 44);
  EXPECT_EQ(ptksim::DurationValue(16900), 58);
  EXPECT_EQ(ptksim::DurationValue(90000), 150);
  EXPECT_EQ(ptksim::DurationValue(400000), 255);
  EXPECT_EQ(ptksim::DurationValue(-5), 37);
}

TEST(PtkSimulatorLineForm, FramesBecomeLinesSentWhenTheirEndIsSeen) {
  // A 5-duration frame, a 40 ms gap, a 3-duration repeat frame.
  const std::vector<std::int64_t> press{90000,  45000, 5600,  16900, 5600,
                                        400000, 90000, 22500, 5600};
  const auto lines = ptksim::EncodePress(press, ptksim::FirstValue - 5);
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0].Bytes,
            std::string(":") + char(150) + char(93) + char(44) + char(58) + char(44) + "\r\n");
  EXPECT_EQ(lines[0].At, 163100 + 100000);
  EXPECT_EQ(lines[1].Bytes, std::string() + char(150) + char(65) + char(44) + "\r\n");
  EXPECT_EQ(lines[1].At, 681200 + 100000);
  // Tuned: a space above T closes the frame; the receiver knows it after T - 36 units.
  const auto tuned = ptksim::EncodePress(press, 92);
  ASSERT_EQ(tuned.size(), 3U);
  EXPECT_EQ(tuned[0].Bytes, std::string() + char(150) + "\r\n");
  EXPECT_EQ(tuned[0].At, 90000 + 56 * ptksim::UnitTicks);
}

TEST(PtkSimulatorLineForm, LongFramesAreCut) {
  const std::vector<std::int64_t> press(401, 5600);
  const auto lines = ptksim::EncodePress(press, 32);
  ASSERT_EQ(lines.size(), 1U);
  EXPECT_EQ(lines[0].Bytes.size(), 1 + ptksim::MaxLineValues + 2);
}

// Every button of the two remotes gives one code, from each of its frames, from jittered
// presses, and with the receiver tuned as the receiver-ready check tunes it; different
// buttons give different codes.
TEST(PtkSimulatorLineForm, RealRemotesGiveOneCodePerButton) {
  std::mt19937 random(20261206);
  for (const std::string remote : {"fz-TVs-Vizio-Vizio_VX32L", "fz-Projectors-NEC-NEC_RU_M124"}) {
    std::map<std::string, std::string> buttons;  // code -> button
    const auto captures = Captures(remote);
    ASSERT_FALSE(captures.empty());
    for (const CaptureRecord& capture : captures) {
      const std::string code = PressCode(capture.Durations, ptksim::SimReceiver::BlankT);
      ASSERT_FALSE(code.empty()) << remote << " " << capture.Button;
      for (int copy = 0; copy < 5; ++copy) {
        EXPECT_EQ(PressCode(Jitter(capture.Durations, 3, random), ptksim::SimReceiver::BlankT),
                  code)
            << remote << " " << capture.Button << " jittered";
      }
      RepeatAccumulator repeats;
      const std::uint8_t threshold =
          DecodeKeyLine(FrameLines(capture.Durations, ptksim::SimReceiver::BlankT).back(),
                        LineVariant::Measure, repeats, {})
              .Threshold;
      EXPECT_EQ(PressCode(capture.Durations, ClampReceiverT(threshold + 10)), code)
          << remote << " " << capture.Button << " tuned";
      const auto [known, added] = buttons.emplace(code, capture.Button);
      EXPECT_TRUE(added) << remote << ": " << capture.Button << " and " << known->second;
    }
    EXPECT_EQ(buttons.size(), captures.size());
  }
}

// --- The command side --------------------------------------------------------------------

std::vector<std::string> Lines(std::string bytes) { return TakeCompleteLines(bytes); }

TEST(PtkSimulatorReceiver, AnswersEveryCommandAsTheProgramExpects) {
  const struct {
    std::string Command;
    std::vector<std::string> Answer;
  } cases[] = {
      {"RX>Sp", {"RX>Sp", "NewRX-S,p"}},
      {"RX>TA", {"RX>TA", "NewRX-TA"}},
      {"RX>St", {"RX>St", "NewRX-S,t"}},
      {"RX>Rt", {"RX>Rt", "IR Receiver PTW1.0"}},
      {"RX>V0", {"RX>V0", "NewRX-V,0", "IR Receiver PTW1.0"}},
      {"RX>No", {"RX>No", "NewRX-N,o", "Ser.No:0042"}},
      {"RX>Qq", {"RX>Qq", "Unknown Command"}},
      {"PTK<X", {"New-Ok"}},
  };
  const std::vector<ReplyKind> kinds[] = {
      {ReplyKind::Echo, ReplyKind::Stopped},
      {ReplyKind::Echo, ReplyKind::NewT},
      {ReplyKind::Echo, ReplyKind::Started},
      {ReplyKind::Echo, ReplyKind::Identification},
      {ReplyKind::Echo, ReplyKind::GetVersion, ReplyKind::Identification},
      {ReplyKind::Echo, ReplyKind::SerialNumberAsked, ReplyKind::SerialNumber},
      {ReplyKind::Echo, ReplyKind::UnknownCommand},
      {ReplyKind::NewOk},
  };
  ptksim::SimReceiver receiver({"PTW1.0", "0042", false});
  EXPECT_EQ(receiver.Identification(), "IR Receiver PTW1.0\r\n");
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    std::string answer;
    for (const char c : cases[i].Command) answer += receiver.Take(std::string(1, c));
    const std::vector<std::string> lines = Lines(answer);
    EXPECT_EQ(lines, cases[i].Answer) << cases[i].Command;
    std::vector<ReplyKind> seen;
    for (const std::string& line : lines) seen.push_back(ClassifyLine(line, false));
    EXPECT_EQ(seen, kinds[i]) << cases[i].Command;
  }
  EXPECT_EQ(receiver.NewTData(), (std::vector<std::uint8_t>{'<'}));
}

TEST(PtkSimulatorReceiver, KeepsItsStateAndSkipsNoise) {
  ptksim::SimReceiver receiver({});
  EXPECT_EQ(Lines(receiver.Take("xyRX>T")), (std::vector<std::string>{}));
  EXPECT_EQ(Lines(receiver.Take("dRRX>St")),
            (std::vector<std::string>{"RX>Td", "NewRX-Td", "RX>St", "NewRX-S,t"}));
  EXPECT_TRUE(receiver.Started());
  EXPECT_EQ(receiver.T(), 'd');
  receiver.Take("RX>Rt");
  EXPECT_FALSE(receiver.Started());
  EXPECT_EQ(receiver.T(), ptksim::SimReceiver::BlankT);
  EXPECT_EQ(receiver.Commands(), (std::vector<std::string>{"RX>Td", "RX>St", "RX>Rt"}));
}

TEST(PtkSimulatorReceiver, SendsItsErrorReportOnceOnRequest) {
  ptksim::SimReceiver receiver({"PTK1.0", "1", true});
  receiver.Take("RX>TA");
  std::vector<std::string> lines = Lines(receiver.Take("RX>St"));
  EXPECT_EQ(lines, (std::vector<std::string>{"RX>St", "NewRX-S,t", "ERROR",
                                             ptksim::SimReceiver::ErrorReportLines()[0],
                                             ptksim::SimReceiver::ErrorReportLines()[1], "T=A"}));
  std::string dump;
  for (const std::string& line : ptksim::SimReceiver::ErrorReportLines()) dump += line;
  EXPECT_EQ(NewTDataByte(dump), 60);
  EXPECT_EQ(Lines(receiver.Take("RX>St")), (std::vector<std::string>{"RX>St", "NewRX-S,t"}));
}

}  // namespace
}  // namespace quillon
