#include "core/receiver/PtkReplies.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace quillon {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values) bytes += static_cast<char>(v);
  return bytes;
}

TEST(PtkReplies, EveryLineHasItsKind) {
  const struct {
    std::string Line;
    bool ErrorMode;
    ReplyKind Kind;
  } cases[] = {
      {"New-Ok", false, ReplyKind::NewOk},
      {"NewRX-D\x04", false, ReplyKind::NewD},
      {"NewRX-d\x04", false, ReplyKind::NewDInverse},
      {"NewRX-TA", false, ReplyKind::NewT},
      {"NewRX-T", false, ReplyKind::OtherNewRx},  // no value byte
      {"NewRX-V,0", false, ReplyKind::GetVersion},
      {"NewRX-S,p", false, ReplyKind::Stopped},
      {"NewRX-S,t", false, ReplyKind::Started},
      {"NewRX-N,o", false, ReplyKind::SerialNumberAsked},
      {"NewRX-S,tt", false, ReplyKind::OtherNewRx},
      {"NewRX", false, ReplyKind::OtherNewRx},
      {"Ser.No:0042", false, ReplyKind::SerialNumber},
      {"RX>St", false, ReplyKind::Echo},
      {"IR Receiver PTK1.0", false, ReplyKind::Identification},
      {"IR Receiver PTW1.0", false, ReplyKind::Identification},
      {"IR Receiver PTK1.0 ...Ok", false, ReplyKind::Found},
      {"IR Receiver PTW1.0 ...Ok at last", false, ReplyKind::Found},
      {"IR Receiver PTK1.0 ..", false, ReplyKind::KeyData},
      {"IR Receiver PTK1.", false, ReplyKind::KeyData},
      {"Unknown Command", false, ReplyKind::UnknownCommand},
      {"ERROR", false, ReplyKind::Error},
      {"T=A", false, ReplyKind::KeyData},
      {":<<<<<<", false, ReplyKind::KeyData},
      {"", false, ReplyKind::KeyData},
      // An error report: its rows come first, recognised replies keep their kind.
      {"T=A", true, ReplyKind::ErrorReportEnd},
      {":<<<<<<", true, ReplyKind::ErrorReportLine},
      {"New", true, ReplyKind::ErrorReportLine},
      {"NewRX-S,t", true, ReplyKind::Started},
      {"ERROR", true, ReplyKind::Error},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyLine(c.Line, c.ErrorMode), c.Kind) << c.Line << " " << c.ErrorMode;
  }
  EXPECT_EQ(ReplyByte("NewRX-TA"), 'A');
  EXPECT_EQ(ReplyByte("NewRX-D\xc8"), 200);
}

TEST(PtkReplies, TheNewTDataByteComesFromTheErrorReport) {
  const struct {
    const char* What;
    std::string Dump;
    int Byte;
  } cases[] = {
      {"levels step down to the lowest above the bottom, 30 % of the top wins",
       Bytes({200, 180, 150, 100, 60, 40}), 60},
      {"no step below the top: the top less 31", Bytes({250, 240, 230, 220}), 219},
      {"255 is no top", Bytes({255, 255, 100, 90}), 69},
      {"only 255: signed arithmetic keeps 5", Bytes({255, 255}), 5},
      {"an empty report gives 5", "", 5},
      {"low values", Bytes({40, 36}), 12},
  };
  for (const auto& c : cases) EXPECT_EQ(NewTDataByte(c.Dump), c.Byte) << c.What;
}

TEST(PtkReplies, CompleteLinesLeaveTheBufferAndTheTailStays) {
  const struct {
    std::string Buffer;
    std::vector<std::string> Lines;
    std::string Tail;
  } cases[] = {
      {"a\r\nb\r\nc", {"a", "b"}, "c"},
      {"\r\n", {""}, ""},
      {"a\rb\nc", {}, "a\rb\nc"},
      {"a\r", {}, "a\r"},
      {"RX>St\r\nNewRX-S,t\r\n", {"RX>St", "NewRX-S,t"}, ""},
  };
  for (const auto& c : cases) {
    std::string buffer = c.Buffer;
    EXPECT_EQ(TakeCompleteLines(buffer), c.Lines) << c.Buffer;
    EXPECT_EQ(buffer, c.Tail) << c.Buffer;
  }
  std::string split = "half";
  EXPECT_TRUE(TakeCompleteLines(split).empty());
  split += " line\r";
  EXPECT_TRUE(TakeCompleteLines(split).empty());
  split += "\n";
  EXPECT_EQ(TakeCompleteLines(split), (std::vector<std::string>{"half line"}));
}

}  // namespace
}  // namespace quillon
