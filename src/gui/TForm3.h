#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>

#include "core/learning/ProgressDialog.h"

namespace quillon::gui {

// The progress dialog of the learning window while a microcontroller receiver is retuned: it
// shows the ProgressDialog model (caption, button, lines) each time the model changes, modal
// but without a loop of its own, since the receiver's lines keep arriving meanwhile. It is a
// window of its own, not a child of the learning window, which is disabled while it shows.
// Cancel, or closing it, is the model's Cancel. The correction of an old remote file shows one
// of its own, without the learning window.
class TForm3 : public QDialog, public ProgressDialogView {
 public:
  TForm3();

  void ShowProgressDialog(const ProgressDialog& model) override;
  // Hides the dialog without counting as Cancel: the procedure closed it.
  void CloseProgressDialog() override { hide(); }

  std::function<void()> OnCancel;

 protected:
  void reject() override;

 private:
  QPlainTextEdit* Memo1;
  QPushButton* Button1;
};

}  // namespace quillon::gui
