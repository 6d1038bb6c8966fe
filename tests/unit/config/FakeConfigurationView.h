#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/config/ConfigFile.h"

namespace quillon::test {

// A configuration window that lists the given remote types and records what was done to it,
// one line per call.
class FakeConfigurationView : public ConfigurationView {
 public:
  explicit FakeConfigurationView(std::vector<std::string> remoteTypes = {})
      : RemoteTypes(std::move(remoteTypes)) {}

  void SetCaption(std::string_view caption) override { Log("caption " + std::string(caption)); }
  bool HasRemoteType(std::string_view name) const override {
    return std::find(RemoteTypes.begin(), RemoteTypes.end(), name) != RemoteTypes.end();
  }
  void SelectRemoteType(std::string_view name) override { Log("select " + std::string(name)); }
  void LoadRemoteType(std::string_view name) override { Log("load " + std::string(name)); }
  void ShowNode(std::int32_t index) override { Log("show " + std::to_string(index)); }
  void EnableEditor() override { Log("enable"); }
  void ConfigurationLoaded() override { Log("loaded"); }

  std::vector<std::string> RemoteTypes;
  std::vector<std::string> Calls;

 private:
  void Log(std::string call) { Calls.push_back(std::move(call)); }
};

}  // namespace quillon::test
