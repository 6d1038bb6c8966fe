#include "gui/TForm3.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "gui/QtText.h"

namespace quillon::gui {

TForm3::TForm3() : Memo1(new QPlainTextEdit), Button1(new QPushButton) {
  setObjectName(QStringLiteral("TForm3"));
  setWindowModality(Qt::ApplicationModal);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  Button1->setObjectName(QStringLiteral("Button1"));
  connect(Button1, &QPushButton::clicked, this, &TForm3::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Memo1);
  layout->addLayout(buttons);
}

void TForm3::ShowProgressDialog(const ProgressDialog& model) {
  setWindowTitle(ToQString(model.Caption));
  Button1->setText(ToQString(model.ButtonCaption));
  QStringList lines;
  for (const std::string& line : model.Lines) lines.append(DisplayText(line));
  Memo1->setPlainText(lines.join(QLatin1Char('\n')));
  show();
}

void TForm3::reject() {
  if (OnCancel) OnCancel();
  hide();
}

}  // namespace quillon::gui
