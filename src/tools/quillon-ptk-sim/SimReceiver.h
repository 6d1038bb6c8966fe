#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::ptksim {

// The command side of the simulated receiver. The program sends commands a byte at a time
// with no line end; the receiver collects them, echoes each "RX>" command as a line and
// answers it:
//
//   RX>St  echo, "NewRX-S,t"; the receiver sends key data from now on (and, when asked for,
//          once an error report: "ERROR", its lines, "T=" and T)
//   RX>Sp  echo, "NewRX-S,p"; no key data
//   RX>T b echo, "NewRX-T" b; T := b
//   RX>Rt  echo, the identification "IR Receiver PTK1.0"; stopped, T blank
//   RX>V0  echo, "NewRX-V,0", the identification
//   RX>No  echo, "NewRX-N,o", "Ser.No:" and the serial number
//   RX>??  echo, "Unknown Command"
//   PTK b X  "New-Ok" (the new T data after an error report)
//
// Bytes that start no command are skipped.
class SimReceiver {
 public:
  struct Settings {
    std::string Model = "PTK1.0";  // or "PTW1.0"
    std::string SerialNumber = "0001";
    bool ErrorReport = false;
  };

  static constexpr std::uint8_t BlankT = ' ';

  explicit SimReceiver(Settings settings) : Config(std::move(settings)) {}

  // The identification line the receiver sends when it powers up.
  std::string Identification() const;

  // Takes bytes the program wrote; returns the receiver's answer lines (each ending in CR LF).
  std::string Take(std::string_view bytes);

  bool Started() const { return Running; }
  std::uint8_t T() const { return ReceiverT; }
  // The commands recognised, and the bytes of the new T data received, in order.
  const std::vector<std::string>& Commands() const { return Recognised; }
  const std::vector<std::uint8_t>& NewTData() const { return NewTBytes; }

  // The lines of the error report (without "ERROR" and "T="), as byte values.
  static const std::vector<std::string>& ErrorReportLines();

 private:
  std::string Answer(const std::string& command);

  Settings Config;
  std::string Pending;
  bool Running = false;
  bool Reported = false;
  std::uint8_t ReceiverT = BlankT;
  std::vector<std::string> Recognised;
  std::vector<std::uint8_t> NewTBytes;
};

}  // namespace quillon::ptksim
