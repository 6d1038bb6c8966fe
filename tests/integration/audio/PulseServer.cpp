#include "PulseServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string_view>

extern char** environ;

namespace quillon::test {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto StartBound = std::chrono::seconds(10);
constexpr auto StopBound = std::chrono::seconds(5);
constexpr auto ProgramBound = std::chrono::seconds(10);
constexpr int PollStepMs = 10;

// The server's whole configuration: no modules but the sink and the local socket.
constexpr const char* ServerScript =
    "load-module module-null-sink sink_name=quillon_null\n"
    "load-module module-native-protocol-unix\n";

// ALSA's default device (and its mixer) through the pulse plugin, which finds the server by
// PULSE_SERVER.
constexpr const char* AsoundRc =
    "pcm.!default { type pulse }\n"
    "ctl.!default { type pulse }\n";

// Waits a step for the child to change state; never for longer.
void PauseStep() { poll(nullptr, 0, PollStepMs); }

// Reaps `pid` within `bound`; false when it is still running then.
bool Reap(pid_t pid, Clock::duration bound, int* status) {
  const auto deadline = Clock::now() + bound;
  for (;;) {
    const pid_t done = waitpid(pid, status, WNOHANG);
    if (done == pid || done < 0) return true;
    if (Clock::now() >= deadline) return false;
    PauseStep();
  }
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

void WriteFile(const std::filesystem::path& path, const char* text) { std::ofstream(path) << text; }

}  // namespace

bool PulseServer::Start() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quillon-pulse-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    Problem = "cannot create a temporary folder";
    return false;
  }
  Folder = pattern;
  const std::filesystem::path runtime = Folder / "run";
  std::filesystem::create_directories(runtime);
  std::filesystem::create_directories(Folder / "config");
  Socket = runtime / "pulse" / "native";
  WriteFile(Folder / "server.pa", ServerScript);
  WriteFile(Folder / ".asoundrc", AsoundRc);

  // The server's environment: this one with its own home and runtime folders, and without a
  // display or session bus that it could reach out to.
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string_view entry(*variable);
    const std::string_view name = entry.substr(0, entry.find('='));
    if (name == "HOME" || name == "XDG_RUNTIME_DIR" || name == "XDG_CONFIG_HOME" ||
        name == "PULSE_RUNTIME_PATH" || name == "PULSE_SERVER" || name == "DISPLAY" ||
        name == "DBUS_SESSION_BUS_ADDRESS") {
      continue;
    }
    environment.emplace_back(entry);
  }
  environment.push_back("HOME=" + Folder.string());
  environment.push_back("XDG_RUNTIME_DIR=" + runtime.string());
  environment.push_back("XDG_CONFIG_HOME=" + (Folder / "config").string());
  environment.push_back("PULSE_RUNTIME_PATH=" + (runtime / "pulse").string());

  // As root the server must be told that this is not its system-wide mode.
  std::vector<std::string> arguments = {"pulseaudio",
                                        "-n",
                                        "-F",
                                        (Folder / "server.pa").string(),
                                        "--exit-idle-time=-1",
                                        "--daemonize=no",
                                        "--system=no",
                                        "--realtime=no",
                                        "--high-priority=no",
                                        "--log-target=stderr"};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string log = (Folder / "pulseaudio.log").string();
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  auto argv = Pointers(arguments);
  auto envp = Pointers(environment);
  const int spawned = posix_spawnp(&Pid, "pulseaudio", &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    Pid = -1;
    Problem = std::string("cannot start pulseaudio: ") + std::strerror(spawned);
    return false;
  }

  SetEnvironment("PULSE_SERVER", "unix:" + Socket.string());
  SetEnvironment("HOME", Folder.string());
  SetEnvironment("XDG_CONFIG_HOME", (Folder / "config").string());
  return WaitUntilListening();
}

bool PulseServer::WaitUntilListening() {
  const auto deadline = Clock::now() + StartBound;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = Socket.string();
  if (path.size() >= sizeof address.sun_path) {
    Problem = "socket path too long: " + path;
    return false;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  for (;;) {
    const int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool listening = probe >= 0 && connect(probe, reinterpret_cast<const sockaddr*>(&address),
                                                 sizeof address) == 0;
    if (probe >= 0) close(probe);
    if (listening) return true;
    int status = 0;
    if (waitpid(Pid, &status, WNOHANG) == Pid) {
      Pid = -1;
      Problem = "pulseaudio ended before it listened (status " + std::to_string(status) + ")";
      return false;
    }
    if (Clock::now() >= deadline) {
      Problem = "pulseaudio did not listen within the bound";
      return false;
    }
    PauseStep();
  }
}

void PulseServer::Stop() {
  if (Pid > 0) {
    kill(Pid, SIGTERM);
    int status = 0;
    if (!Reap(Pid, StopBound, &status)) {
      kill(Pid, SIGKILL);
      waitpid(Pid, &status, 0);
    }
    Pid = -1;
  }
  for (const auto& [name, value] : SavedEnvironment) {
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }
  SavedEnvironment.clear();
  if (!Folder.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
    Folder.clear();
  }
}

bool PulseServer::Pactl(const std::vector<std::string>& arguments) const {
  std::vector<std::string> command = {"pactl"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  auto argv = Pointers(command);
  pid_t pid = -1;
  if (posix_spawnp(&pid, "pactl", nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  if (!Reap(pid, ProgramBound, &status)) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string PulseServer::Log() const {
  std::ostringstream text;
  text << Problem << '\n';
  if (!Folder.empty()) text << std::ifstream(Folder / "pulseaudio.log").rdbuf();
  return text.str();
}

void PulseServer::SetEnvironment(const char* name, const std::string& value) {
  if (!SavedEnvironment.contains(name)) {
    const char* old = std::getenv(name);
    SavedEnvironment[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
  }
  setenv(name, value.c_str(), 1);
}

}  // namespace quillon::test
