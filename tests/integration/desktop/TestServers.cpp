#include "TestServers.h"

#include "TestSupport.h"

namespace quillon::test {

namespace fs = std::filesystem;

namespace {

// A bus of its own that lets anyone own any name and exchange any message, around the line
// that names its socket.
const std::string BusConfigurationHead =
    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
    "<busconfig>\n"
    "  <type>custom</type>\n";
const std::string BusConfigurationTail =
    "  <auth>EXTERNAL</auth>\n"
    "  <policy context=\"default\">\n"
    "    <allow send_destination=\"*\"/>\n"
    "    <allow receive_sender=\"*\"/>\n"
    "    <allow own=\"*\"/>\n"
    "  </policy>\n"
    "</busconfig>\n";

}  // namespace

bool XServer::Start(const fs::path& folder) {
  // Xvfb writes the number of the display it took once it accepts connections.
  if (!Process.Start({"Xvfb", "-displayfd", "1", "-noreset", "-nolisten", "tcp", "-screen", "0",
                      "1024x768x24"},
                     {}, folder / "xvfb.log")) {
    return false;
  }
  const std::optional<std::string> number = Process.ReadLine(Patience);
  if (!number || number->empty()) return false;
  DisplayName = ":" + *number;
  return true;
}

bool WindowManager::Start(const std::string& display, const fs::path& folder) {
  const fs::path home = folder / "openbox-home";
  fs::create_directories(home);
  const fs::path configuration = home / "rc.xml";
  WriteFile(configuration,
            "<?xml version=\"1.0\"?>\n"
            "<openbox_config xmlns=\"http://openbox.org/3.4/rc\">\n"
            "  <focus><focusNew>yes</focusNew></focus>\n"
            "  <keyboard></keyboard>\n"
            "</openbox_config>\n");
  return Process.Start({"openbox", "--sm-disable", "--config-file", configuration.string()},
                       {"DISPLAY=" + display, "HOME=" + home.string(),
                        "XDG_CONFIG_HOME=" + (home / "config").string(),
                        "XDG_CACHE_HOME=" + (home / "cache").string()},
                       folder / "openbox.log");
}

bool LogindOnPrivateBus::Start(const fs::path& folder, bool refuse) {
  const fs::path configuration = folder / "bus.conf";
  const std::string listen = "  <listen>unix:path=" + (folder / "bus").string() + "</listen>\n";
  WriteFile(configuration, BusConfigurationHead + listen + BusConfigurationTail);
  if (!Bus.Start({"dbus-daemon", "--nofork", "--config-file=" + configuration.string(),
                  "--print-address=1"},
                 {}, folder / "dbus.log")) {
    return false;
  }
  const std::optional<std::string> address = Bus.ReadLine(Patience);
  if (!address || address->empty()) return false;
  BusAddress = *address;
  RecordFile = folder / "logind-calls.txt";
  std::vector<std::string> arguments = {QUILLON_TEST_LOGIND, "--address", BusAddress, "--record",
                                        RecordFile.string()};
  if (refuse) arguments.emplace_back("--refuse");
  if (!Logind.Start(arguments, {}, folder / "logind.log")) return false;
  return Logind.ReadLine(Patience) == "ready";
}

void LogindOnPrivateBus::Stop() {
  Logind.Stop();
  Bus.Stop();
}

}  // namespace quillon::test
