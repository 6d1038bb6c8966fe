#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/config/ConfigDialogs.h"

namespace quillon::gui {

// The load dialog: the configurations by name, the current one selected. Load (or a double
// click) and Delete answer with the selected entry.
class TFormLoadConfig : public QDialog {
 public:
  TFormLoadConfig(const LoadDialogRequest& request, QWidget* parent);
  LoadDialogAnswer Answer;

 private:
  void Finish(LoadDialogResult result);

  QListWidget* ConfigName;
};

// The save dialog: the name box with the proposed name, and the existing names; a click on one
// copies it into the box, a double click saves under it at once. Refused characters never
// enter the box.
class TSaveConfig : public QDialog {
 public:
  TSaveConfig(const SaveDialogRequest& request, QWidget* parent);

  QString Name() const { return Edit1->text(); }

 private:
  QLineEdit* Edit1;
  QListWidget* ConfigName;
};

// Shows the two dialogs for the editor.
class QtConfigDialogs : public ConfigurationDialogs {
 public:
  LoadDialogAnswer AskLoad(const LoadDialogRequest& request) override;
  std::optional<std::string> AskSaveName(const SaveDialogRequest& request) override;
  void SetOwner(QWidget* owner) { Owner = owner; }

 private:
  QWidget* Owner = nullptr;
};

}  // namespace quillon::gui
