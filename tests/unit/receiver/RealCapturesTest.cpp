// Replays the bundled recordings of real remotes through the receive pipeline, as a receiver
// would deliver them: edge by edge, cut by the 250 ms burst window.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "core/receiver/CaptureFile.h"
#include "replay/CaptureReplay.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t ImpulseDiv = 3;
constexpr std::int32_t MinimumCodeLength = 6;  // the signal-length test rejects shorter codes

struct RemoteFigures {
  int Captures = 0;
  int Framed = 0;     // the signal-length decoder found a frame and gave a code
  int Learnable = 0;  // ... of at least six symbols
  int Stable = 0;     // ... and the voting decoder gave one code for it and its jittered copies
};

// The first burst that a press hands over.
ReplayBench::Decoded FirstBurst(ReplayBench& bench, const std::vector<std::int64_t>& press) {
  const std::size_t before = bench.Bursts.size();
  bench.Press(press);
  return bench.Bursts.size() > before ? bench.Bursts[before] : ReplayBench::Decoded{};
}

std::map<std::string, RemoteFigures> ReplayAll() {
  std::map<std::string, RemoteFigures> figures;
  std::mt19937 random(20261206);
  for (const auto& entry :
       fs::directory_iterator(fs::path(QUILLON_SOURCE_DIR) / "samples" / "ir-captures")) {
    if (entry.path().extension() != ".irc") continue;
    const auto records = ReadCaptureFile(entry.path());
    EXPECT_TRUE(records) << records.ErrorMessage();
    if (!records) continue;
    for (const CaptureRecord& record : records.Value()) {
      RemoteFigures& f = figures[record.Remote];
      ++f.Captures;
      ReplayBench test;
      test.Pipeline.ReceiveMode = ReceiveModeKind::SignalLengthTest;
      const auto found = FirstBurst(test, record.Durations);
      if (found.Code.empty()) continue;
      ++f.Framed;
      if (found.Code.size() < MinimumCodeLength) continue;
      ++f.Learnable;

      ReplayBench run;
      run.AdoptFrame(found, ImpulseDiv);
      const std::string clean = FirstBurst(run, record.Durations).Code;
      bool stable = !clean.empty();
      for (int copy = 0; copy < 3 && stable; ++copy) {
        stable = FirstBurst(run, Jitter(record.Durations, 8, random)).Code == clean;
      }
      f.Stable += stable ? 1 : 0;
    }
  }
  return figures;
}

// What each remote gives, and why where it falls short. A signal-length test needs a complete
// frame: a start pulse, data and a closing gap within one burst; remotes that send a single
// frame per press never show a gap. The voting decoder then reads codes with classes that each
// frame derives from its own durations, and a bit threshold at 70 % of MaxValue; where two
// duration classes lie close together, jitter of 8 % moves durations across them.
struct Expectation {
  const char* Remote;
  RemoteFigures Figures;
  const char* Why;
};

const Expectation Expected[] = {
    {"fz-ACs-Daikin-Daikin_AC_unknownModel",
     {4, 4, 4, 1},
     "the 1.7 ms header space and the 1.3 ms long spaces are one class step apart; jittered "
     "long spaces leave their class window and read as the header digit"},
    {"fz-ACs-Panasonic-Panasonic_CS-UE12RKE", {7, 7, 7, 5}, "the same timing as the Daikin AC"},
    {"fz-ACs-Pioneer-PioneerMiniSplit", {14, 0, 0, 0}, "one frame per press: no gap"},
    {"fz-Air_Purifiers-Dyson-Dyson_PurifiyHumidify_PH04", {13, 13, 13, 13}, ""},
    {"fz-Audio_and_Video_Receivers-Denon-Denon_DRA_365R",
     {18, 16, 16, 16},
     "CD_in and Phono_in hold two headerless frames and one gap: neither frame is complete"},
    {"fz-Fans-Domo-DOMO_DO8149", {7, 2, 2, 2}, "five captures hold a single frame"},
    {"fz-Fans-Dyson-Dyson_TP7A", {8, 8, 8, 8}, ""},
    {"fz-Fans-Seville_Classics-SC-UltraSlimLine-Oscillating-Tower-Fan-5-Buttons-EHF10119PB",
     {5, 5, 5, 5},
     ""},
    {"fz-MiniDisc-Pioneer_CU-MJO11", {36, 36, 36, 36}, ""},
    {"fz-Miscellaneous-OREI_HDMI_Switcher-OREI_HD-401MV",
     {16, 6, 6, 6},
     "ten captures hold a single frame"},
    {"fz-Multimedia-QNAP-QNAP_RM_IR2",
     {13, 13, 13, 5},
     "bi-phase code of one-, two- and three-unit durations: a jittered two-unit duration "
     "falls between the class windows of its neighbours"},
    {"fz-Projectors-Epson-Epson-EB-X12", {11, 11, 11, 11}, ""},
    {"fz-Projectors-NEC-NEC_RU_M124", {53, 53, 53, 53}, ""},
    {"fz-Streaming_Devices-Kaleidescape-Kaleidescape_Strato_V",
     {4, 3, 3, 3},
     "one capture holds a single frame"},
    {"fz-Streaming_Devices-MAG-MAG_TV_Box", {28, 0, 0, 0}, "one frame per press: no gap"},
    {"fz-TVs-Grundig-Grundig_TP750C",
     {28, 28, 28, 9},
     "binary codes whose marks and short spaces differ by less than 30 %: the bit threshold "
     "lies within a few percent of the short spaces, and jitter flips them"},
    {"fz-TVs-Vizio-Vizio_VX32L", {6, 6, 6, 6}, ""},
    {"fz-Toys-Brio-BRIO_WORLD_IR102_Train_ChA",
     {6, 6, 6, 5},
     "marks and spaces differ by 10 to 25 %: one frame of a press finds three classes, the "
     "next two, so the frames of a jittered press disagree"},
    {"fz-Toys-Brio-BRIO_WORLD_IR102_Train_ChB", {6, 6, 6, 6}, ""},
    {"fz-Toys-WowWee-RoboSapien-Roboraptor-Roboraptor",
     {15, 0, 0, 0},
     "one frame per press: no gap"},
    {"fz-Vacuum_Cleaners-iLife-iLife_V3_V5_V8_X5",
     {8, 1, 0, 0},
     "one frame per press; in one capture a data duration recurs like a gap and frames five "
     "symbols, which the signal-length test rejects as too short"},
};

TEST(RealCaptures, SignalLengthFramesAndVotingIsStableUnderJitter) {
  const auto figures = ReplayAll();
  RemoteFigures total;
  for (const Expectation& e : Expected) {
    const auto found = figures.find(e.Remote);
    ASSERT_NE(found, figures.end()) << e.Remote;
    const RemoteFigures& f = found->second;
    EXPECT_EQ(f.Captures, e.Figures.Captures) << e.Remote;
    EXPECT_EQ(f.Framed, e.Figures.Framed) << e.Remote << ": " << e.Why;
    EXPECT_EQ(f.Learnable, e.Figures.Learnable) << e.Remote << ": " << e.Why;
    EXPECT_EQ(f.Stable, e.Figures.Stable) << e.Remote << ": " << e.Why;
    total.Captures += f.Captures;
    total.Framed += f.Framed;
    total.Learnable += f.Learnable;
    total.Stable += f.Stable;
  }
  EXPECT_EQ(figures.size(), std::size(Expected));
  std::printf("real captures: %d, framed %d, learnable %d, stable under 8 %% jitter %d\n",
              total.Captures, total.Framed, total.Learnable, total.Stable);
  EXPECT_EQ(total.Captures, 306);
  EXPECT_EQ(total.Framed, 224);
  EXPECT_EQ(total.Stable, 190);
}

}  // namespace
}  // namespace quillon
