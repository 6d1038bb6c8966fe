#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "SampleRemote.h"
#include "core/learning/RemoteFile.h"
#include "core/receiver/CaptureFile.h"
#include "replay/CaptureReplay.h"

namespace quillon::test {

inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Notes the virtual time at which each edge reaches a bench's pipeline: with reception off,
// every edge is offered to the start-learning trigger.
struct EdgeTimes : StartLearningTrigger {
  explicit EdgeTimes(ReplayBench& bench) : Clock(bench.Clock) {
    bench.Pipeline.ReceiveEnabled = false;
    bench.Pipeline.SetConsumers({.StartLearning = this});
  }
  void EdgeWhileReceptionOff() override { Taken.push_back(Clock.Counter()); }
  const platform::Clock& Clock;
  std::vector<std::int64_t> Taken;
};

// The key codes a bench's bursts handed over, in order.
inline std::vector<std::string> Codes(const ReplayBench& bench) {
  std::vector<std::string> codes;
  for (const auto& burst : bench.Bursts) codes.push_back(burst.Code);
  return codes;
}

// Makes the sample remote learned from the Vizio captures the bench's remote, so that bursts
// in the execute mode reach key dispatch with the remote's codes.
inline void UseVizioRemote(ReplayBench& bench) {
  CurrentRemote current;
  const auto load = LoadRemoteFile(SampleRemotes / "Vizio_VX32L.IRD", current, English);
  ASSERT_TRUE(load) << load.ErrorMessage();
  ASSERT_TRUE(load.Value().Found);
  bench.Timings = current.Timings;
  bench.Limits = current.Limits;
  bench.Pipeline.MultiLevelCoding = load.Value().MultiLevelCoding;
}

// The recorded presses of the Vizio remote, one per button.
inline std::vector<CaptureRecord> VizioPresses() {
  auto records = ReadCaptureFile(VizioCapture);
  EXPECT_TRUE(records) << records.ErrorMessage();
  return records ? records.Value() : std::vector<CaptureRecord>{};
}

// What the reference replay gives for the Vizio presses: each played with PlayPress.
inline std::vector<std::string> VizioReferenceCodes() {
  ReplayBench reference;
  UseVizioRemote(reference);
  for (const CaptureRecord& record : VizioPresses()) reference.Press(record.Durations);
  return Codes(reference);
}

}  // namespace quillon::test
