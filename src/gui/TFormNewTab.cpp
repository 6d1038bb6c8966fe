#include "gui/TFormNewTab.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "core/config/ConfigDialogs.h"
#include "gui/QtText.h"

namespace quillon::gui {

TFormNewTab::TFormNewTab(QWidget* parent)
    : QDialog(parent),
      Edit1(new QLineEdit),
      Label1(new QLabel),
      Button1(new QPushButton),
      Button2(new QPushButton) {
  setObjectName(QStringLiteral("TFormNewTab"));
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Label1->setObjectName(QStringLiteral("Label1"));
  Button1->setObjectName(QStringLiteral("Button1"));
  Button2->setObjectName(QStringLiteral("Button2"));
  Button1->setDefault(true);
  connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& text) {
    QString kept;
    for (const QChar c : text) {
      if (!IsRefusedNameCharacter(ToUtf8(QString(c)))) kept += c;
    }
    if (kept != text) Edit1->setText(kept);
  });
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Edit1);
  layout->addLayout(buttons);
}

std::optional<std::string> TFormNewTab::AskPageName(const NewPageRequest& request) {
  setWindowTitle(ToQString(request.Caption));
  Label1->setText(ToQString(request.Label));
  Button1->setText(ToQString(request.OkButton));
  Button2->setText(ToQString(request.CancelButton));
  Edit1->clear();
  Edit1->setFocus();
  if (Owner != nullptr) {
    move(Owner->frameGeometry().topLeft() + QPoint(NewPageDialogOffset, NewPageDialogOffset));
  }
  if (exec() != QDialog::Accepted) return std::nullopt;
  return ToUtf8(Edit1->text());
}

}  // namespace quillon::gui
