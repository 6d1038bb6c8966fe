#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "FakeLearningView.h"
#include "TempFolder.h"
#include "core/learning/LearningProcedure.h"
#include "core/receiver/KeyMatcher.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSerialDevice.h"

namespace quillon::test {

// A learning procedure over a receive pipeline on virtual time, a fake window and settings
// store, saving into a fresh folder, with a microcontroller receiver's protocol on a fake port
// that is used once a receiver is found (PtkFound). Tests drive the procedure through the
// pipeline or the port, or call its consumers as they would.
struct LearningBench {
  LearningBench() {
    Clock.AdvanceTo(platform::CounterTicksPerSecond);
    Pipeline.SetConsumers(Procedure.Consumers(nullptr, &Matcher));
    Protocol.SetConsumers(Procedure.Consumers(nullptr, &Matcher), Procedure.LineConsumers());
    Procedure.FormCreate();
  }

  // Five codes for the signal-length test, each with the same start pulse and gap.
  void SignalTest(const std::vector<std::string>& codes) {
    for (const std::string& code : codes)
      Procedure.SignalLengthAnalysis(code, FrameSample{9000, 40000});
  }
  // Start, a signal-length test of codes of `length` symbols, and a hold-button test of ten
  // empty bursts: training has begun.
  void StartTraining(std::size_t length = 8) {
    Procedure.ButtonStartLearnClick();
    SignalTest(std::vector<std::string>(5, std::string(length, '1')));
    for (int burst = 0; burst < 10; ++burst) Procedure.RepeatCodeAnalysis({});
  }
  void Presses(const std::vector<std::string>& codes) {
    for (const std::string& code : codes) Procedure.ButtonCapture(code, false);
  }
  void Remember(const std::string& name) {
    Procedure.ButtonNameChange(name);
    Procedure.ButtonNameExit();
    Procedure.ButtonOkClick();
  }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  Options Settings;
  ReceiveSettings Receive = ToReceiveSettings(Settings);
  CurrentRemote Remote;
  ReceivePipeline Pipeline{Loop, Receive, Remote.Timings, Remote.Limits};
  platform::FakeRegistry Registry;
  LearnSettings Learn;
  FakeLearningView View;
  LanguageFlag Language = English;
  TempFolder Folder;
  KeyMatcher Matcher{*Remote.Record};
  platform::FakeSerialDevice Device{Loop, Clock};
  PulseCapture Capture{Pipeline, Device};
  PtkOptions ReceiverOptions;
  PtkProtocol Protocol{Pipeline, Capture,        Device, Loop,
                       Clock,    *Remote.Record, View,   ReceiverOptions};
  LearningProcedure Procedure{{Pipeline, Remote, Settings, Registry, Learn, Loop, Clock, View,
                               Language, Folder.Path, &Protocol, &ReceiverOptions}};
};

// ':' then durations in receiver units: code 010001, threshold byte 82.
inline const std::string KeyA = std::string(":") + '\x7f' + "R+6+++6";

// The bench with a microcontroller receiver in use on its port: its key-data lines arrive there,
// and its start-up is answered by a script.
struct PtkBench : LearningBench {
  PtkBench() {
    EXPECT_TRUE(Protocol.OpenPort("/dev/pts/7", 3));
    Pipeline.PtkFound = true;
  }
  void Send(const std::string& line, std::uint32_t thenMs = 20) {
    Device.ArriveAfter(1, line + "\r\n");
    Loop.AdvanceBy(thenMs);
  }
  void AnswerStartUp(char t) {
    Device.Answer("RX>Sp", "RX>Sp\r\nNewRX-S,p\r\n");
    Device.Answer(std::string("RX>T") + t, std::string("RX>T") + t + "\r\nNewRX-T" + t + "\r\n");
    Device.Answer("RX>St", "RX>St\r\nNewRX-S,t\r\n");
  }
  bool Logged(const std::string& line) const {
    return std::find(View.Lines.begin(), View.Lines.end(), line) != View.Lines.end();
  }
};

}  // namespace quillon::test
