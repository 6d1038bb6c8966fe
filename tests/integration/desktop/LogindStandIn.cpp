// A stand-in for systemd-logind on a private bus, for the integration tests. It owns the name
// org.freedesktop.login1 and answers PowerOff(b) and Reboot(b) on /org/freedesktop/login1
// (interface org.freedesktop.login1.Manager) by appending "<method> <interactive>" to a record
// file, then replying; with --refuse it replies with an access-denied error instead (and still
// records the call). It prints "ready" once it owns the name and runs until it is terminated.
//   quillon_test_logind --address <bus address> --record <file> [--refuse]

#include <systemd/sd-bus.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

struct Settings {
  std::string Record;
  bool Refuse = false;
};

int OnCall(sd_bus_message* message, void* data, sd_bus_error*) {
  const auto* settings = static_cast<const Settings*>(data);
  const char* interface = "org.freedesktop.login1.Manager";
  const bool powerOff = sd_bus_message_is_method_call(message, interface, "PowerOff") > 0;
  const bool reboot = sd_bus_message_is_method_call(message, interface, "Reboot") > 0;
  if (!powerOff && !reboot) return 0;
  int interactive = 0;
  if (sd_bus_message_read(message, "b", &interactive) < 0) {
    return sd_bus_reply_method_errorf(message, SD_BUS_ERROR_INVALID_ARGS, "expected a boolean");
  }
  if (std::FILE* record = std::fopen(settings->Record.c_str(), "a")) {
    std::fprintf(record, "%s %s\n", powerOff ? "PowerOff" : "Reboot",
                 interactive ? "true" : "false");
    std::fclose(record);
  }
  if (settings->Refuse) {
    return sd_bus_reply_method_errorf(message, SD_BUS_ERROR_ACCESS_DENIED,
                                      "Access denied by the stand-in");
  }
  return sd_bus_reply_method_return(message, "");
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  std::string address;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--address" && i + 1 < argc) {
      address = argv[++i];
    } else if (option == "--record" && i + 1 < argc) {
      settings.Record = argv[++i];
    } else if (option == "--refuse") {
      settings.Refuse = true;
    }
  }

  sd_bus* bus = nullptr;
  if (sd_bus_new(&bus) < 0 || sd_bus_set_address(bus, address.c_str()) < 0 ||
      sd_bus_set_bus_client(bus, 1) < 0 || sd_bus_start(bus) < 0) {
    std::fprintf(stderr, "cannot connect to %s\n", address.c_str());
    return 1;
  }
  if (sd_bus_add_object(bus, nullptr, "/org/freedesktop/login1", OnCall, &settings) < 0 ||
      sd_bus_request_name(bus, "org.freedesktop.login1", 0) < 0) {
    std::fprintf(stderr, "cannot serve org.freedesktop.login1\n");
    return 1;
  }
  std::puts("ready");
  std::fflush(stdout);
  for (;;) {
    const int processed = sd_bus_process(bus, nullptr);
    if (processed < 0) return 1;
    if (processed == 0 && sd_bus_wait(bus, UINT64_MAX) < 0) return 1;
  }
}
