#include "core/receiver/PtkReplies.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view ReceiverName = "IR Receiver PT";
constexpr std::string_view FoundMark = " ...Ok";

ReplyKind ClassifyNewRx(std::string_view line) {
  if (line.size() > 7 && line.starts_with("NewRX-D")) return ReplyKind::NewD;
  if (line.size() > 7 && line.starts_with("NewRX-d")) return ReplyKind::NewDInverse;
  if (line.size() > 7 && line.starts_with("NewRX-T")) return ReplyKind::NewT;
  if (line == "NewRX-V,0") return ReplyKind::GetVersion;
  if (line == "NewRX-S,p") return ReplyKind::Stopped;
  if (line == "NewRX-S,t") return ReplyKind::Started;
  if (line == "NewRX-N,o") return ReplyKind::SerialNumberAsked;
  return ReplyKind::OtherNewRx;
}

ReplyKind ClassifyReply(std::string_view line) {
  if (line == "New-Ok") return ReplyKind::NewOk;
  if (line.starts_with("NewRX")) return ClassifyNewRx(line);
  if (line.starts_with("Ser.No:")) return ReplyKind::SerialNumber;
  if (line.starts_with("RX>")) return ReplyKind::Echo;
  if (line.size() == ReceiverVersionLength && line.starts_with(ReceiverName)) {
    return ReplyKind::Identification;
  }
  if (line == "Unknown Command") return ReplyKind::UnknownCommand;
  if (line == "ERROR") return ReplyKind::Error;
  if (line.size() >= ReceiverVersionLength + FoundMark.size() && line.starts_with(ReceiverName) &&
      line.substr(ReceiverVersionLength).starts_with(FoundMark)) {
    return ReplyKind::Found;
  }
  return ReplyKind::KeyData;
}

std::int32_t LargestBelow(std::string_view bytes, std::int32_t limit) {
  std::int32_t largest = 0;
  for (const char c : bytes) {
    const std::int32_t v = static_cast<unsigned char>(c);
    if (v < limit) largest = std::max(largest, v);
  }
  return largest;
}

}  // namespace

ReplyKind ClassifyLine(std::string_view line, bool errorMode) {
  if (errorMode && line.starts_with("T=")) return ReplyKind::ErrorReportEnd;
  const ReplyKind kind = ClassifyReply(line);
  return errorMode && kind == ReplyKind::KeyData ? ReplyKind::ErrorReportLine : kind;
}

std::uint8_t ReplyByte(std::string_view line) {
  return line.size() > 7 ? static_cast<unsigned char>(line[7]) : 0;
}

std::uint8_t NewTDataByte(std::string_view errorDump) {
  constexpr std::int32_t Full = 255;
  const std::int32_t top = LargestBelow(errorDump, Full);
  std::int32_t bottom = 0;
  if (!errorDump.empty()) {
    bottom = static_cast<unsigned char>(
        *std::min_element(errorDump.begin(), errorDump.end(), [](char a, char b) {
          return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
        }));
  }
  std::int32_t level = top;
  for (;;) {
    const std::int32_t next = LargestBelow(errorDump, level - level * 10 / 100);
    if (next == 0 || next <= bottom) break;
    level = next;
  }
  return static_cast<std::uint8_t>(std::max({level - 31, top * 30 / 100, 5}));
}

std::vector<std::string> TakeCompleteLines(std::string& buffer) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = buffer.find(LineEnd); end != std::string::npos;
       end = buffer.find(LineEnd, start)) {
    lines.push_back(buffer.substr(start, end - start));
    start = end + LineEnd.size();
  }
  buffer.erase(0, start);
  return lines;
}

}  // namespace quillon
