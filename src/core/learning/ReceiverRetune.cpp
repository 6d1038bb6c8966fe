#include "core/learning/ReceiverRetune.h"

#include "core/learning/LearningTexts.h"
#include "core/learning/RemoteFile.h"
#include "core/receiver/DiscoveryTexts.h"

namespace quillon {

namespace {

constexpr std::int32_t ThresholdMargin = 10;

}  // namespace

std::uint8_t TunedReceiverT(std::uint8_t threshold) {
  return ClampReceiverT(threshold + ThresholdMargin);
}

std::string ReadyLine(std::int32_t number, const std::string& code) {
  return "№" + std::to_string(number) + " -> " + code + " ....Ok";
}

RetuneStep StepAfterRemoteChange(const RemoteData& loaded, bool microcontrollerInUse,
                                 std::uint8_t receiverTInUse) {
  if (!microcontrollerInUse) return RetuneStep::None;
  if (loaded.Version != RemoteVersion) return RetuneStep::AskCorrection;
  const auto t = static_cast<std::uint8_t>(loaded.ReceiverT);
  return t >= MinReceiverT && t <= MaxReceiverT && t != receiverTInUse ? RetuneStep::Restart
                                                                       : RetuneStep::None;
}

void ReceiverRetune::RestartWithTiming(std::uint8_t receiverT) {
  if (!The.Protocol.ReceiverStartUp(receiverT)) {
    Message(Text(DiscoveryText::UnableInitialize, The.Language), MessageKind::Error);
  }
}

void ReceiverRetune::CorrectData(const std::filesystem::path& remoteFile) {
  RemoteFile = remoteFile;
  Lines = 0;
  Dialog.FormShow(The.Language);
  The.View.ShowProgressDialog(Dialog);
  // The check's lines arrive in the pause mode, and only while reception is on.
  The.Pipeline.ReceiveMode = ReceiveModeKind::Pause;
  The.Pipeline.ReceiveEnabled = true;
}

void ReceiverRetune::ReceiverReadyCheck(const std::string& code, std::uint8_t threshold) {
  if (!Correcting()) {
    if (Next != nullptr) Next->ReceiverReadyCheck(code, threshold);
    return;
  }
  if (code.size() < MinReadyCode) return;
  Dialog.AddLine(ReadyLine(++Lines, code));
  The.View.ShowProgressDialog(Dialog);
  if (Lines >= ReadyLinesNeeded) Tune(threshold);
}

void ReceiverRetune::Tune(std::uint8_t threshold) {
  Dialog.AddLine(std::string(Text(LearningText::ReceiverInitializing, The.Language)));
  The.View.ShowProgressDialog(Dialog);
  // Presses during the start-up count for nothing.
  The.Pipeline.ReceiveEnabled = false;
  if (!The.Protocol.ReceiverStartUp(TunedReceiverT(threshold))) {
    End(DialogResult::Cancel);
    Message(Text(DiscoveryText::UnableInitialize, The.Language), MessageKind::Error);
    return;
  }
  // The receiver stored its new timing in the remote.
  The.Remote.Version = RemoteVersion;
  const auto written = WriteRemoteRecord(RemoteFile, The.Remote);
  End(written ? DialogResult::Ok : DialogResult::Cancel);
  if (!written) Message(written.ErrorMessage(), MessageKind::Error);
}

void ReceiverRetune::ProgressCancelClick() {
  if (Correcting()) End(DialogResult::Cancel);
}

void ReceiverRetune::End(DialogResult result) {
  Dialog.Close(result);
  The.View.CloseProgressDialog();
  The.Pipeline.ReceiveMode = ReceiveModeKind::Execute;
  The.Pipeline.ReceiveEnabled = true;
}

void ReceiverRetune::Message(std::string_view text, MessageKind kind) {
  ShowMessageBox(The.Boxes, The.Language, text, MessageButtons::Ok, kind);
}

}  // namespace quillon
