#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "core/common/Language.h"
#include "core/learning/SaveDialog.h"

namespace quillon::gui {

// The save dialog of the learning window: the producer and the type under which a learned
// remote is stored. Every key, change and click goes to the SaveDialog model, which decides
// what the fields take, where Enter moves the focus, whether Save is enabled and the result.
class TFormSave : public QDialog {
 public:
  TFormSave(SaveDialog& model, LanguageFlag language, QWidget* parent);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override;

 private:
  void FieldEdited(QLineEdit* field, const QString& text);
  void ShowModel();
  QWidget* Control(SaveDialogControl control) const;

  SaveDialog& Model;
  QLineEdit* RemCtrlType;
  QLineEdit* RemCtrlModel;
  QPushButton* Button1;
  QPushButton* Button2;
};

}  // namespace quillon::gui
