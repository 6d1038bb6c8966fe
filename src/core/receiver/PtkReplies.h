#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// "IR Receiver " and the model, "PTK1.0" or "PTW1.0".
inline constexpr std::size_t ReceiverVersionLength = 18;

// The lines a microcontroller receiver sends, each ended by CR LF.
enum class ReplyKind : std::uint8_t {
  NewOk,              // "New-Ok": the new T data arrived
  NewD,               // "NewRX-D" + byte
  NewDInverse,        // "NewRX-d" + byte
  NewT,               // "NewRX-T" + byte: T is set
  GetVersion,         // "NewRX-V,0"
  Stopped,            // "NewRX-S,p"
  Started,            // "NewRX-S,t"
  SerialNumberAsked,  // "NewRX-N,o"
  OtherNewRx,         // any other line beginning "NewRX"
  SerialNumber,       // "Ser.No:..."
  Echo,               // "RX>...": the receiver echoes each command
  Identification,     // "IR Receiver PTK1.0" (18 characters)
  UnknownCommand,     // "Unknown Command"
  Error,              // "ERROR": an error report follows
  ErrorReportEnd,     // "T=..." closing an error report
  ErrorReportLine,    // any other line of an error report
  Found,              // "IR Receiver PTK1.0 ...Ok"
  KeyData,            // any other line: a measured burst
};

// What a line is. During an error report a "T=" line closes it and any line that is no reply
// belongs to it: the report's rows come before the key-data row. A recognised reply keeps its
// kind even then (the caller ends the report, whose close was lost).
ReplyKind ClassifyLine(std::string_view line, bool errorMode);

// The value byte of "NewRX-D", "NewRX-d" and "NewRX-T" lines.
std::uint8_t ReplyByte(std::string_view line);

// The byte of the new T data sent after an error report, from the report's characters taken
// as byte values: the lowest level reached by steps of at least 10 % down from the largest
// value below 255 while values above the smallest one remain, less 31; at least 30 % of that
// largest value, and at least 5 (an empty report gives 5).
std::uint8_t NewTDataByte(std::string_view errorDump);

// Takes the complete lines out of `buffer` (their CR LF dropped) and leaves the unfinished
// tail, so that lines are handled once even when handling one lets new data arrive.
std::vector<std::string> TakeCompleteLines(std::string& buffer);

}  // namespace quillon
