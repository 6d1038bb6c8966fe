// quillon-ptk-sim: a microcontroller receiver on a pseudo-terminal. It answers the program's
// commands and sends recorded presses as the receiver's key-data lines, so the receiver side
// runs end to end without the hardware.

#include <CLI/CLI.hpp>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <deque>
#include <filesystem>
#include <iostream>
#include <string>

#include "core/receiver/CaptureFile.h"
#include "platform/linux/LinuxClock.h"
#include "quillon-ptk-sim/LineForm.h"
#include "quillon-ptk-sim/SimReceiver.h"

namespace quillon::ptksim {

namespace {

volatile std::sig_atomic_t StopRequested = 0;

void RequestStop(int) { StopRequested = 1; }

void Report(const std::string& message) { std::cerr << "quillon-ptk-sim: " << message << "\n"; }

// The receiver's side of a pseudo-terminal pair. The terminal side stays open here too, so
// the program may close and reopen its device while the receiver keeps its line.
class PseudoTerminal {
 public:
  ~PseudoTerminal() {
    if (Terminal >= 0) ::close(Terminal);
    if (Master >= 0) ::close(Master);
  }

  Result<Done> Open() {
    Master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (Master < 0 || grantpt(Master) != 0 || unlockpt(Master) != 0) {
      return Error{std::string("cannot create a pseudo-terminal: ") + std::strerror(errno)};
    }
    const char* name = ptsname(Master);
    if (name == nullptr) return Error{"the pseudo-terminal has no name"};
    Path = name;
    // Raw both ways: no echo, no line editing, bytes unchanged.
    termios settings{};
    tcgetattr(Master, &settings);
    cfmakeraw(&settings);
    tcsetattr(Master, TCSANOW, &settings);
    Terminal = ::open(Path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (Terminal < 0) return Error{"cannot open " + Path + ": " + std::strerror(errno)};
    fcntl(Master, F_SETFL, fcntl(Master, F_GETFL) | O_NONBLOCK);
    return Done{};
  }

  // Sends all of `bytes`, waiting for room when the program reads slowly.
  void Send(std::string_view bytes) const {
    while (!bytes.empty()) {
      const ssize_t sent = ::write(Master, bytes.data(), bytes.size());
      if (sent > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(sent));
      } else if (sent < 0 && (errno == EAGAIN || errno == EINTR)) {
        pollfd out{Master, POLLOUT, 0};
        ::poll(&out, 1, 100);
      } else {
        return;
      }
    }
  }

  int Master = -1;
  int Terminal = -1;
  std::string Path;
};

// Recorded presses as they come in, a line at a time: the capture format or a plain list.
class PressReader {
 public:
  // Takes text; complete lines that hold a burst become presses.
  void Add(std::string_view text) {
    Partial += text;
    for (std::size_t end = Partial.find('\n'); end != std::string::npos; end = Partial.find('\n')) {
      const std::string line = Partial.substr(0, end);
      Partial.erase(0, end + 1);
      if (line.starts_with("#")) {
        if (line.find("button=") != std::string::npos) Header = line;
        continue;
      }
      const auto bursts = ParseBursts(Header + "\n" + line);
      if (!bursts) {
        Report("presses: " + bursts.ErrorMessage());
        continue;
      }
      for (const CaptureRecord& burst : bursts.Value()) {
        if (!burst.Durations.empty()) Presses.push_back(burst);
      }
    }
  }
  void Finish() { Add("\n"); }

  std::deque<CaptureRecord> Presses;

 private:
  std::string Partial;
  std::string Header;
};

struct Options {
  std::string Model = "PTK";
  std::string Link;
  std::string Presses;
  std::uint32_t GapMs = 300;
  bool ErrorReport = false;
  std::string SerialNumber = "0001";
};

class Simulator {
 public:
  Simulator(const Options& options, PseudoTerminal& line)
      : Settings(options),
        Line(line),
        Receiver({options.Model + "1.0", options.SerialNumber, options.ErrorReport}) {}

  int Run(int pressInput) {
    Line.Send(Receiver.Identification());
    Input = pressInput;
    while (StopRequested == 0) {
      pollfd fds[2] = {{Line.Master, POLLIN, 0}, {Input, POLLIN, 0}};
      const nfds_t count = Input >= 0 ? 2 : 1;
      const int ready = ::poll(fds, count, TimeoutMs());
      if (ready < 0 && errno != EINTR) {
        Report(std::string("poll: ") + std::strerror(errno));
        return 1;
      }
      if (ready > 0 && (fds[0].revents & POLLIN) != 0) Answer();
      if (ready > 0 && count == 2 && fds[1].revents != 0) ReadPresses();
      SendDue();
    }
    return 0;
  }

 private:
  void Answer() {
    char buffer[256];
    const ssize_t got = ::read(Line.Master, buffer, sizeof buffer);
    if (got <= 0) return;
    const std::size_t before = Receiver.Commands().size();
    const std::string answer = Receiver.Take({buffer, static_cast<std::size_t>(got)});
    for (std::size_t i = before; i < Receiver.Commands().size(); ++i) {
      Report("command " + Printable(Receiver.Commands()[i]));
    }
    Line.Send(answer);
  }

  void ReadPresses() {
    char buffer[4096];
    const ssize_t got = ::read(Input, buffer, sizeof buffer);
    if (got > 0) {
      Reader.Add({buffer, static_cast<std::size_t>(got)});
      return;
    }
    Reader.Finish();
    if (Input != STDIN_FILENO) ::close(Input);
    Input = -1;
  }

  // Sends the lines that are due; starts the next press while the receiver runs.
  void SendDue() {
    const std::int64_t now = Clock.Counter();
    // A user presses a button a moment after the receiver starts, not while the program is
    // still finishing its start-up.
    if (Receiver.Started() && !WasStarted) {
      NextPress = std::max(NextPress, now + StartPauseMs * platform::CounterTicksPerMillisecond);
    }
    WasStarted = Receiver.Started();
    while (!Due.empty() && Due.front().At <= now) {
      Line.Send(Due.front().Bytes);
      Due.pop_front();
    }
    if (!Due.empty() || !Receiver.Started() || Reader.Presses.empty() || now < NextPress) return;
    const CaptureRecord press = Reader.Presses.front();
    Reader.Presses.pop_front();
    std::int64_t last = now;
    for (TimedLine line : EncodePress(press.Durations, Receiver.T())) {
      line.At += now;
      last = line.At;
      Due.push_back(std::move(line));
    }
    NextPress = last + std::int64_t{Settings.GapMs} * platform::CounterTicksPerMillisecond;
    Report("press " + std::to_string(++PressNumber) + " " + press.Remote + " " + press.Button +
           ": " + std::to_string(Due.size()) + " lines");
  }

  int TimeoutMs() const {
    if (Due.empty() && (Reader.Presses.empty() || !Receiver.Started())) return 1000;
    const std::int64_t next = Due.empty() ? NextPress : Due.front().At;
    const std::int64_t wait = (next - Clock.Counter()) / platform::CounterTicksPerMillisecond;
    return static_cast<int>(std::clamp<std::int64_t>(wait, 0, 1000));
  }

  static std::string Printable(const std::string& bytes) {
    std::string shown;
    for (const char c : bytes) {
      const auto v = static_cast<unsigned char>(c);
      shown += v >= 32 && v < 127 ? std::string(1, c) : "\\x" + std::to_string(v);
    }
    return shown;
  }

  static constexpr std::int64_t StartPauseMs = 1000;

  const Options& Settings;
  PseudoTerminal& Line;
  SimReceiver Receiver;
  platform::LinuxClock Clock;
  PressReader Reader;
  std::deque<TimedLine> Due;
  std::int64_t NextPress = 0;
  bool WasStarted = false;
  int PressNumber = 0;
  int Input = -1;
};

Result<Done> MakeLink(const std::string& link, const std::string& target) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(link, error))) fs::remove(link, error);
  fs::create_symlink(target, link, error);
  if (error) return Error{"cannot link " + link + ": " + error.message()};
  return Done{};
}

}  // namespace

}  // namespace quillon::ptksim

int main(int argc, char** argv) {
  using namespace quillon::ptksim;
  CLI::App app{
      "A PTK or PTW infrared receiver on a pseudo-terminal: answers the receiver commands and "
      "sends recorded presses as key-data lines once the receiver is started. Prints the "
      "device path; ends on SIGTERM or SIGINT."};
  Options options;
  app.add_option("--model", options.Model, "Receiver model")
      ->check(CLI::IsMember({"PTK", "PTW"}))
      ->capture_default_str();
  app.add_option("--link", options.Link, "Also make this symbolic link to the device");
  app.add_option("--presses", options.Presses,
                 "Recorded presses (capture format or one burst per line; - for standard "
                 "input), sent one after another");
  app.add_option("--gap", options.GapMs, "Milliseconds between presses")->capture_default_str();
  app.add_flag("--error-report", options.ErrorReport,
               "After the first start, send an error report and expect new T data");
  app.add_option("--serial", options.SerialNumber, "Serial number")->capture_default_str();
  CLI11_PARSE(app, argc, argv);

  int input = -1;
  if (options.Presses == "-") {
    input = STDIN_FILENO;
  } else if (!options.Presses.empty()) {
    input = ::open(options.Presses.c_str(), O_RDONLY | O_CLOEXEC);
    if (input < 0) {
      Report("cannot open " + options.Presses + ": " + std::strerror(errno));
      return 2;
    }
  }

  PseudoTerminal line;
  if (const auto opened = line.Open(); !opened) {
    Report(opened.ErrorMessage());
    return 1;
  }
  if (!options.Link.empty()) {
    if (const auto linked = MakeLink(options.Link, line.Path); !linked) {
      Report(linked.ErrorMessage());
      return 1;
    }
  }
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  std::cout << line.Path << std::endl;
  Simulator simulator(options, line);
  const int status = simulator.Run(input);
  if (!options.Link.empty()) std::filesystem::remove(options.Link);
  return status;
}
