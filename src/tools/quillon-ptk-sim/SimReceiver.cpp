#include "quillon-ptk-sim/SimReceiver.h"

namespace quillon::ptksim {

namespace {

constexpr std::size_t CommandLength = 5;  // "RX>" and two bytes, or "PTK", a byte and "X"
constexpr std::string_view CommandLead = "RX>";
constexpr std::string_view NewTLead = "PTK";

std::string Line(std::string_view text) { return std::string(text) + "\r\n"; }

}  // namespace

const std::vector<std::string>& SimReceiver::ErrorReportLines() {
  // Levels a receiver reports when its timing is off: from 200 down to 40.
  static const std::vector<std::string> lines = {"\xc8\xb4\x96", "d<("};
  return lines;
}

std::string SimReceiver::Identification() const { return Line("IR Receiver " + Config.Model); }

std::string SimReceiver::Take(std::string_view bytes) {
  Pending += bytes;
  std::string answer;
  while (!Pending.empty()) {
    const bool command = Pending.starts_with(CommandLead) || Pending.starts_with(NewTLead);
    const bool begun = CommandLead.starts_with(Pending) || NewTLead.starts_with(Pending);
    if (!command && !begun) {
      Pending.erase(0, 1);
      continue;
    }
    if (Pending.size() < CommandLength) break;
    const std::string next = Pending.substr(0, CommandLength);
    Pending.erase(0, CommandLength);
    answer += Answer(next);
  }
  return answer;
}

std::string SimReceiver::Answer(const std::string& command) {
  Recognised.push_back(command);
  if (command.starts_with(NewTLead)) {
    if (command.back() != 'X') return Line("Unknown Command");
    NewTBytes.push_back(static_cast<std::uint8_t>(command[3]));
    return Line("New-Ok");
  }
  const std::string echo = Line(command);
  const std::string_view code = std::string_view(command).substr(CommandLead.size());
  if (code == "St") {
    Running = true;
    std::string answer = echo + Line("NewRX-S,t");
    if (Config.ErrorReport && !Reported) {
      Reported = true;
      answer += Line("ERROR");
      for (const std::string& line : ErrorReportLines()) answer += Line(line);
      answer += Line(std::string("T=") + static_cast<char>(ReceiverT));
    }
    return answer;
  }
  if (code == "Sp") {
    Running = false;
    return echo + Line("NewRX-S,p");
  }
  if (code.starts_with("T")) {
    ReceiverT = static_cast<std::uint8_t>(code[1]);
    return echo + Line(std::string("NewRX-T") + code[1]);
  }
  if (code == "Rt") {
    Running = false;
    ReceiverT = BlankT;
    return echo + Identification();
  }
  if (code == "V0") return echo + Line("NewRX-V,0") + Identification();
  if (code == "No") return echo + Line("NewRX-N,o") + Line("Ser.No:" + Config.SerialNumber);
  return echo + Line("Unknown Command");
}

}  // namespace quillon::ptksim
