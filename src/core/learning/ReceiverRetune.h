#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/actions/MessageBox.h"
#include "core/common/Language.h"
#include "core/learning/ProgressDialog.h"
#include "core/learning/RemoteData.h"
#include "core/receiver/PtkHandOver.h"
#include "core/receiver/PtkProtocol.h"

namespace quillon {

// A microcontroller receiver is tuned to a remote from the threshold byte of the key-data lines
// of five presses of button 1 (codes of at least six symbols), with a margin above it.
inline constexpr std::int32_t ReadyLinesNeeded = 5;
inline constexpr std::size_t MinReadyCode = 6;
std::uint8_t TunedReceiverT(std::uint8_t threshold);
// A counted press as the log and the progress dialog show it: "№3 -> 0110... ....Ok".
std::string ReadyLine(std::int32_t number, const std::string& code);

// What a change of remote type asks of the receiver in use.
enum class RetuneStep : std::uint8_t {
  None,
  Restart,        // the remote's own timing differs from the one in use
  AskCorrection,  // a file of an older version: it holds no timing
};
// Only a microcontroller receiver is concerned; a timing outside the printable characters is
// none.
RetuneStep StepAfterRemoteChange(const RemoteData& loaded, bool microcontrollerInUse,
                                 std::uint8_t receiverTInUse);

// The receiver side as a change of remote type concerns it.
class RemoteTypeReceiver {
 public:
  virtual ~RemoteTypeReceiver() = default;
  virtual bool MicrocontrollerInUse() const = 0;
  virtual std::uint8_t ReceiverTInUse() const = 0;
  virtual void RestartWithTiming(std::uint8_t receiverT) = 0;
  // The user agreed to correct the remote loaded from `remoteFile`.
  virtual void CorrectData(const std::filesystem::path& remoteFile) = 0;
};

// The microcontroller receiver on a change of remote type. A remote's own timing restarts the
// receiver with it. A remote learned by an older version holds no timing: its correction shows
// the progress dialog, with reception on, until five presses of button 1 have tuned the
// receiver as learning does; the remote's file is then written again with the timing and the
// current version, so the question is not asked again. Cancel leaves the file as it is. Key
// dispatch takes the presses again when the correction ends, whichever way.
class ReceiverRetune final : public RemoteTypeReceiver, public ReceiverReadyConsumer {
 public:
  struct Parts {
    ReceivePipeline& Pipeline;
    PtkProtocol& Protocol;
    RemoteData& Remote;
    MessageBoxes& Boxes;
    ProgressDialogView& View;
    const LanguageFlag& Language;
  };
  explicit ReceiverRetune(const Parts& parts) : The(parts) {}

  bool MicrocontrollerInUse() const override { return The.Pipeline.PtkFound; }
  std::uint8_t ReceiverTInUse() const override { return The.Protocol.ReceiverT; }
  void RestartWithTiming(std::uint8_t receiverT) override;
  void CorrectData(const std::filesystem::path& remoteFile) override;

  // Lines of the receiver-ready check: counted during a correction, otherwise passed to `Next`
  // (the learning window's own check).
  void ReceiverReadyCheck(const std::string& code, std::uint8_t threshold) override;
  void ProgressCancelClick();
  bool Correcting() const { return Dialog.Showing; }

  ReceiverReadyConsumer* Next = nullptr;

 private:
  void Tune(std::uint8_t threshold);
  void End(DialogResult result);
  void Message(std::string_view text, MessageKind kind);

  Parts The;
  ProgressDialog Dialog;
  std::filesystem::path RemoteFile;
  std::int32_t Lines = 0;
};

}  // namespace quillon
