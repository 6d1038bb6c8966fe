#include "gui/TFormAllWindows.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/QtText.h"

namespace quillon::gui {

namespace {

QPushButton* Named(const char* name, QHBoxLayout* row) {
  auto* button = new QPushButton;
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  row->addWidget(button);
  return button;
}

}  // namespace

TFormAllWindows::TFormAllWindows(const WindowListContext& context, QWidget* parent)
    : QDialog(parent), The(context), ListBox1(new QListWidget) {
  setObjectName(QStringLiteral("TFormAllWindows"));
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  auto* lists = new QHBoxLayout;
  connect(Named("ButtonVisible", lists), &QPushButton::clicked, this,
          [this] { Fill(WindowListMode::Visible); });
  connect(Named("ButtonAll", lists), &QPushButton::clicked, this,
          [this] { Fill(WindowListMode::All); });
  auto* actions = new QHBoxLayout;
  QPushButton* add = Named("ButtonAdd", actions);
  add->setText(QStringLiteral("<<"));
  connect(add, &QPushButton::clicked, this, [this] { TakeOver(); });
  connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { TakeOver(); });
  connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
    ListBox1->setToolTip(row < 0 ? QString() : ListBox1->item(row)->text());
  });
  actions->addStretch();
  Named("ButtonHelp", actions)->setEnabled(false);
  connect(Named("ButtonClose", actions), &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists);
  layout->addWidget(ListBox1, 1);
  layout->addLayout(actions);
  resize(420, 360);
}

void TFormAllWindows::Open() {
  ApplyTexts();
  Fill(WindowListMode::Visible);
  exec();
}

void TFormAllWindows::ApplyTexts() {
  const LanguageFlag language = The.Language;
  setWindowTitle(ToQString(Text(WindowListText::Caption, language)));
  const QString renew = ToQString(Text(WindowListText::Renew, language));
  const struct {
    const char* Name;
    WindowListText Caption;
  } captions[] = {{"ButtonVisible", WindowListText::VisibleWindows},
                  {"ButtonAll", WindowListText::AllWindows},
                  {"ButtonHelp", WindowListText::Help},
                  {"ButtonClose", WindowListText::Close}};
  for (const auto& entry : captions) {
    auto* button = findChild<QPushButton*>(QLatin1String(entry.Name));
    button->setText(ToQString(Text(entry.Caption, language)));
    if (entry.Caption == WindowListText::VisibleWindows ||
        entry.Caption == WindowListText::AllWindows) {
      button->setToolTip(renew);
    }
  }
}

void TFormAllWindows::Fill(WindowListMode mode) {
  Windows = ListWindows(The.Desktop, mode);
  ListBox1->clear();
  for (const ListedWindow& window : Windows) ListBox1->addItem(ToQString(window.Title));
  if (!Windows.empty()) ListBox1->setCurrentRow(0);
}

void TFormAllWindows::TakeOver() {
  const int row = ListBox1->currentRow();
  if (row < 0 || row >= static_cast<int>(Windows.size())) return;
  TakeOverTitle(Windows[static_cast<std::size_t>(row)].Title, The.Tree, The.Editor, The.Boxes,
                The.Language);
}

}  // namespace quillon::gui
