#include "gui/TFormNewName.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include "core/config/NameDialog.h"
#include "gui/QtText.h"

namespace quillon::gui {

namespace {

QPushButton* HintButton(const char* name, QStyle::StandardPixmap icon, std::string_view hint) {
  auto* button = new QPushButton;
  button->setObjectName(QLatin1String(name));
  button->setIcon(button->style()->standardIcon(icon));
  button->setToolTip(ToQString(hint));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TFormNewName::TFormNewName(std::string_view nodeText, LanguageFlag language, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), Edit1(new QLineEdit) {
  setObjectName(QStringLiteral("TFormNewName"));
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setMaxLength(static_cast<int>(NameFieldLimit));
  Edit1->setMinimumWidth(280);
  Edit1->setText(ToQString(NameFieldOnOpening(nodeText, language)));
  Edit1->selectAll();
  Edit1->installEventFilter(this);
  connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& text) {
    const QString kept = ToQString(FilterNameField(ToUtf8(text)));
    if (kept == text) return;
    const int cursor = Edit1->cursorPosition() - static_cast<int>(text.size() - kept.size());
    Edit1->setText(kept);
    Edit1->setCursorPosition(std::max(cursor, 0));
  });
  connect(Edit1, &QLineEdit::returnPressed, this, [this] { Finish(false); });

  QPushButton* clear = HintButton("BitBtn1", QStyle::SP_DialogResetButton,
                                  Text(NameDialogText::ClearHint, language));
  QPushButton* rename = HintButton("BitBtn2", QStyle::SP_DialogApplyButton,
                                   Text(NameDialogText::RenameHint, language));
  QPushButton* close = HintButton("BitBtn3", QStyle::SP_DialogCloseButton,
                                  Text(NameDialogText::CloseHint, language));
  connect(clear, &QPushButton::clicked, this, [this] { Finish(true); });
  connect(rename, &QPushButton::clicked, this, [this] { Finish(false); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(Edit1, 1);
  for (QPushButton* button : {clear, rename, close}) layout->addWidget(button);
}

std::optional<std::string> TFormNewName::Ask() {
  Edit1->setFocus();
  exec();
  return Answer;
}

bool TFormNewName::eventFilter(QObject* watched, QEvent* event) {
  // A click in the field selects its whole text, after the click has placed the caret.
  if (watched == Edit1 && event->type() == QEvent::MouseButtonPress) {
    QTimer::singleShot(0, Edit1, &QLineEdit::selectAll);
  }
  return QDialog::eventFilter(watched, event);
}

void TFormNewName::Finish(bool clear) {
  if (clear) Edit1->clear();
  Answer = ToUtf8(Edit1->text());
  accept();
}

}  // namespace quillon::gui
