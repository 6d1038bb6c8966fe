#include "gui/ConfigDialogWindows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/QtText.h"

namespace quillon::gui {

namespace {

QPushButton* AddButton(QHBoxLayout* row, const char* name, const std::string& caption) {
  auto* button = new QPushButton(ToQString(caption));
  button->setObjectName(QLatin1String(name));
  row->addWidget(button);
  return button;
}

void FillNames(QListWidget* list, const std::vector<std::string>& names) {
  for (const std::string& name : names) list->addItem(ToQString(name));
}

}  // namespace

TFormLoadConfig::TFormLoadConfig(const LoadDialogRequest& request, QWidget* parent)
    : QDialog(parent), ConfigName(new QListWidget) {
  setObjectName(QStringLiteral("TFormLoadConfig"));
  setWindowTitle(ToQString(request.Caption));
  ConfigName->setObjectName(QStringLiteral("ConfigName"));
  FillNames(ConfigName, request.Names);
  const auto current = ConfigName->findItems(ToQString(request.Current), Qt::MatchExactly);
  if (!current.isEmpty()) ConfigName->setCurrentItem(current.front());

  auto* buttons = new QHBoxLayout;
  connect(AddButton(buttons, "Button1", request.LoadButton), &QPushButton::clicked, this,
          [this] { Finish(LoadDialogResult::Load); });
  connect(AddButton(buttons, "Button2", request.CancelButton), &QPushButton::clicked, this,
          [this] { Finish(LoadDialogResult::Cancel); });
  connect(AddButton(buttons, "Button3", request.DeleteButton), &QPushButton::clicked, this,
          [this] { Finish(LoadDialogResult::Delete); });
  connect(ConfigName, &QListWidget::itemDoubleClicked, this,
          [this] { Finish(LoadDialogResult::Load); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ConfigName);
  layout->addLayout(buttons);
}

void TFormLoadConfig::Finish(LoadDialogResult result) {
  Answer.Result = result;
  const QListWidgetItem* selected = ConfigName->currentItem();
  Answer.Name = selected == nullptr ? std::string() : ToUtf8(selected->text());
  accept();
}

TSaveConfig::TSaveConfig(const SaveDialogRequest& request, QWidget* parent)
    : QDialog(parent), Edit1(new QLineEdit), ConfigName(new QListWidget) {
  setObjectName(QStringLiteral("TSaveConfig"));
  setWindowTitle(ToQString(request.Caption));
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setText(ToQString(request.Proposal));
  ConfigName->setObjectName(QStringLiteral("ConfigName"));
  FillNames(ConfigName, request.Names);

  connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& text) {
    QString kept;
    for (const QChar c : text) {
      if (!IsRefusedNameCharacter(ToUtf8(QString(c)))) kept += c;
    }
    if (kept != text) Edit1->setText(kept);
  });
  connect(ConfigName, &QListWidget::itemClicked, this,
          [this](const QListWidgetItem* item) { Edit1->setText(item->text()); });
  connect(ConfigName, &QListWidget::itemDoubleClicked, this, [this](const QListWidgetItem* item) {
    Edit1->setText(item->text());
    accept();
  });

  auto* buttons = new QHBoxLayout;
  connect(AddButton(buttons, "Button1", request.SaveButton), &QPushButton::clicked, this,
          &QDialog::accept);
  connect(AddButton(buttons, "Button2", request.CancelButton), &QPushButton::clicked, this,
          &QDialog::reject);
  auto* name = new QHBoxLayout;
  name->addWidget(new QLabel(ToQString(request.Label)));
  name->addWidget(Edit1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(name);
  layout->addWidget(ConfigName);
  layout->addLayout(buttons);
}

LoadDialogAnswer QtConfigDialogs::AskLoad(const LoadDialogRequest& request) {
  TFormLoadConfig dialog(request, Owner);
  return dialog.exec() == QDialog::Accepted ? dialog.Answer : LoadDialogAnswer{};
}

std::optional<std::string> QtConfigDialogs::AskSaveName(const SaveDialogRequest& request) {
  TSaveConfig dialog(request, Owner);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ToUtf8(dialog.Name());
}

}  // namespace quillon::gui
