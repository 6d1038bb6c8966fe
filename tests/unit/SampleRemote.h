#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/Result.h"
#include "core/learning/RemoteFile.h"
#include "core/receiver/CaptureFile.h"
#include "core/receiver/PtkLineDecoder.h"
#include "quillon-ptk-sim/LineForm.h"
#include "replay/CaptureReplay.h"

namespace quillon::test {

// The recorded presses of a real remote, one per button, and the folder of the sample files
// the program's own code makes from them.
inline const std::filesystem::path VizioCapture =
    std::filesystem::path(QUILLON_SOURCE_DIR) / "samples/ir-captures/fz-TVs-Vizio-Vizio_VX32L.irc";
inline const std::filesystem::path SampleRemotes =
    std::filesystem::path(QUILLON_SOURCE_DIR) / "samples/remotes";

// Which receiver a sample remote is learned for: the bare receiver, whose bursts the program
// times itself, or a microcontroller receiver, whose lines (in the simulator's line form, with
// T left at the blank a reset leaves) the line decoder reads.
enum class SampleReceiver : std::uint8_t { Pts, Ptk };

inline const std::filesystem::path SamplePtkRemotes = SampleRemotes / "ptk";

// The code of one press as a microcontroller receiver's first line gives it.
inline std::string PtkCode(const CaptureRecord& record) {
  const auto lines = ptksim::EncodePress(record.Durations, ' ');
  if (lines.empty()) return {};
  const std::string& bytes = lines.front().Bytes;
  RepeatAccumulator repeats;
  return DecodeKeyLine(std::string_view(bytes).substr(0, bytes.size() - 2), LineVariant::Keys,
                       repeats, RepeatFrameBlock{})
      .Code;
}

// Learns the Vizio remote from its captures, one press per button as the signal-length test
// decodes it (or as the receiver's first line gives it), and saves it into `folder` (replacing
// the file there). Gives the file's path.
inline Result<std::filesystem::path> LearnVizio(const std::filesystem::path& folder,
                                                SampleReceiver receiver = SampleReceiver::Pts) {
  auto records = ReadCaptureFile(VizioCapture);
  if (!records) return Error{records.ErrorMessage()};
  LearnGrid keys;
  LearnGrid lockUps;
  ClearLearnGrids(keys, lockUps, English);
  keys.Rows.pop_back();
  CurrentRemote current;
  for (const CaptureRecord& record : records.Value()) {
    ReplayBench bench;
    bench.Pipeline.ReceiveMode = ReceiveModeKind::SignalLengthTest;
    bench.Press(record.Durations);
    if (bench.Bursts.empty() || !bench.Bursts.front().Sample) {
      return Error{"no frame found in the press of " + record.Button};
    }
    const auto& burst = bench.Bursts.front();
    if (keys.Rows.size() == 1) {
      current.Timings = bench.Timings;
      current.Timings.StartPulse = burst.Sample->StartPulse;
      current.Timings.FrameGap = burst.Sample->FrameGap;
      current.Timings.MaxValue = burst.MaxValue;
    }
    const std::string number = std::to_string(keys.Rows.size());
    const std::string code = receiver == SampleReceiver::Ptk ? PtkCode(record) : burst.Code;
    if (code.empty()) return Error{"no code in the press of " + record.Button};
    keys.Rows.push_back({number, record.Button, code, code, code, code, code});
  }
  keys.Rows.push_back({});
  RemoteSaveRequest request;
  request.Producer = "Vizio";
  request.Model = "VX32L";
  request.KeyGrid = &keys;
  request.LockUpGrid = &lockUps;
  request.NominalLength = 66;
  TrainTable trains;
  request.Trains = &trains;
  request.LearnedWithPTK = receiver == SampleReceiver::Ptk;
  const auto saved = SaveRemoteFile(
      folder, request, current, [](std::string_view) { return true; }, English);
  if (!saved) return Error{saved.ErrorMessage()};
  return folder / RemoteFileName(request.Producer, request.Model);
}

}  // namespace quillon::test
