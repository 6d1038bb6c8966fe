#include "gui/TFormSave.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/QtText.h"

namespace quillon::gui {

namespace {

QLineEdit* Field(const char* name) {
  auto* field = new QLineEdit;
  field->setObjectName(QLatin1String(name));
  return field;
}

QPushButton* DialogButton(const char* name, SaveDialogText text, LanguageFlag language) {
  auto* button = new QPushButton(ToQString(Text(text, language)));
  button->setObjectName(QLatin1String(name));
  return button;
}

}  // namespace

TFormSave::TFormSave(SaveDialog& model, LanguageFlag language, QWidget* parent)
    : QDialog(parent),
      Model(model),
      RemCtrlType(Field("RemCtrlType")),
      RemCtrlModel(Field("RemCtrlModel")),
      Button1(DialogButton("Button1", SaveDialogText::Save, language)),
      Button2(DialogButton("Button2", SaveDialogText::Cancel, language)) {
  setObjectName(QStringLiteral("TFormSave"));
  setWindowTitle(ToQString(Text(SaveDialogText::Caption, language)));
  for (QLineEdit* field : {RemCtrlType, RemCtrlModel}) {
    field->installEventFilter(this);
    connect(field, &QLineEdit::textEdited, this,
            [this, field](const QString& text) { FieldEdited(field, text); });
  }
  connect(Button1, &QPushButton::clicked, this, [this] {
    Model.Button1Click();
    if (Model.Result == DialogResult::Ok) accept();
  });
  connect(Button2, &QPushButton::clicked, this, &TFormSave::reject);

  auto* fields = new QFormLayout;
  fields->addRow(new QLabel(ToQString(Text(SaveDialogText::ProducerLabel, language))), RemCtrlType);
  fields->addRow(new QLabel(ToQString(Text(SaveDialogText::ModelLabel, language))), RemCtrlModel);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
}

void TFormSave::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Model.FormActivate();
  ShowModel();
}

bool TFormSave::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    Model.EnterPressed(watched == RemCtrlType ? SaveDialogControl::RemCtrlType
                                              : SaveDialogControl::RemCtrlModel);
    ShowModel();
    return true;
  }
  for (const char32_t character : key->text().toUcs4()) {
    if (!SaveDialog::KeyAccepted(character)) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TFormSave::reject() {
  Model.Button2Click();
  QDialog::reject();
}

void TFormSave::FieldEdited(QLineEdit* field, const QString& text) {
  const bool producer = field == RemCtrlType;
  if (producer) {
    Model.RemCtrlTypeChange(ToUtf8(text));
  } else {
    Model.RemCtrlModelChange(ToUtf8(text));
  }
  // A paste may bring characters that typing could not: the field shows what the model kept.
  const QString kept = ToQString(producer ? Model.Producer : Model.Model);
  if (kept != text) field->setText(kept);
  Button1->setEnabled(Model.SaveEnabled);
}

void TFormSave::ShowModel() {
  Button1->setEnabled(Model.SaveEnabled);
  QWidget* focused = Control(Model.Focused);
  if (focused->isEnabled()) focused->setFocus();
}

QWidget* TFormSave::Control(SaveDialogControl control) const {
  switch (control) {
    case SaveDialogControl::RemCtrlType:
      return RemCtrlType;
    case SaveDialogControl::RemCtrlModel:
      return RemCtrlModel;
    case SaveDialogControl::Button1:
      return Button1;
    case SaveDialogControl::Button2:
      return Button2;
  }
  return RemCtrlType;
}

}  // namespace quillon::gui
