#include "gui/TFormKeys.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "core/actions/KeysTexts.h"
#include "gui/KeyNameField.h"
#include "gui/QtText.h"

namespace quillon::gui {

namespace {

constexpr QAbstractItemView::EditTriggers CellEditing = QAbstractItemView::SelectedClicked |
                                                        QAbstractItemView::EditKeyPressed |
                                                        QAbstractItemView::AnyKeyPressed;

// With HotKeysEnable ticked, a hot-key cell is edited in a send-key field that records each key
// press as a token; otherwise, and in the description column, cells take plain text.
class HotKeyDelegate : public QStyledItemDelegate {
 public:
  HotKeyDelegate(const QCheckBox* recording, MessageBoxes& boxes, const LanguageFlag& language,
                 QObject* parent)
      : QStyledItemDelegate(parent), Recording(recording), Boxes(boxes), Language(language) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    if (index.column() != static_cast<int>(KeyColumn::HotKey) || !Recording->isChecked()) {
      return QStyledItemDelegate::createEditor(parent, option, index);
    }
    auto* field = new KeyNameField(Boxes, Language, parent);
    field->setObjectName(QStringLiteral("HotKeyField"));
    field->Recording = true;
    return field;
  }

 private:
  const QCheckBox* Recording;
  MessageBoxes& Boxes;
  const LanguageFlag& Language;
};

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

}  // namespace

TFormKeys::TFormKeys(const KeysContext& context, QWidget* parent)
    : QWidget(parent),
      Language(context.Language),
      Model(context, *this),
      PageControl1(Named(new QTabBar, "PageControl1")),
      Keys(Named(new QTableWidget(0, 2), "Keys")),
      HotKeysEnable(Named(new QCheckBox, "HotKeysEnable")),
      Form1Connect(Named(new QCheckBox, "Form1Connect")),
      ButtonAdd(Named(new QPushButton(QStringLiteral("<<")), "ButtonAdd")),
      Button3(Named(new QPushButton, "Button3")),
      Button4(Named(new QPushButton, "Button4")),
      Button1(Named(new QPushButton, "Button1")),
      ButtonHelp(Named(new QPushButton, "ButtonHelp")) {
  setObjectName(QStringLiteral("TFormKeys"));
  setWindowFlag(Qt::Window);
  Keys->setItemDelegate(new HotKeyDelegate(HotKeysEnable, context.Boxes, Language, Keys));
  Keys->setSelectionMode(QAbstractItemView::SingleSelection);
  Keys->setEditTriggers(CellEditing);
  Keys->verticalHeader()->hide();
  Keys->horizontalHeader()->setStretchLastSection(true);
  Keys->setColumnWidth(0, 220);
  Keys->installEventFilter(this);
  ButtonHelp->setEnabled(false);  // the help file is not part of the program yet

  auto* options = new QHBoxLayout;
  options->addWidget(HotKeysEnable);
  options->addWidget(Form1Connect);
  options->addStretch();
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {ButtonAdd, Button3, Button4}) buttons->addWidget(button);
  buttons->addStretch();
  buttons->addWidget(ButtonHelp);
  buttons->addWidget(Button1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl1);
  layout->addWidget(Keys, 1);
  layout->addLayout(options);
  layout->addLayout(buttons);
  resize(520, 420);
  ApplyTexts();
  Connect();
}

void TFormKeys::Connect() {
  connect(PageControl1, &QTabBar::currentChanged, this,
          [this](int index) { Model.PageChange(index); });
  connect(Keys, &QTableWidget::currentCellChanged, this, [this](int row) { Model.RowSelect(row); });
  connect(Keys, &QTableWidget::cellClicked, this, [this](int row) { Model.RowClick(row); });
  connect(Keys, &QTableWidget::cellDoubleClicked, this,
          [this](int row) { Model.RowDblClick(row); });
  connect(Keys, &QTableWidget::itemChanged, this, [this](const QTableWidgetItem* item) {
    Model.CellEdited(item->row(), static_cast<KeyColumn>(item->column()), ToUtf8(item->text()));
  });
  connect(HotKeysEnable, &QCheckBox::toggled, this,
          [this](bool ticked) { Model.HotKeysEnableClick(ticked); });
  connect(Form1Connect, &QCheckBox::toggled, this,
          [this](bool ticked) { Model.Form1ConnectClick(ticked); });
  connect(ButtonAdd, &QPushButton::clicked, this, [this] { Model.ButtonAddClick(); });
  connect(Button3, &QPushButton::clicked, this, [this] { Model.Button3Click(); });
  connect(Button4, &QPushButton::clicked, this, [this] { Model.Button4Click(); });
  connect(Button1, &QPushButton::clicked, this, &QWidget::close);
}

void TFormKeys::Open() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void TFormKeys::ApplyTexts() {
  const LanguageFlag language = Language;
  const auto text = [language](KeysText role) { return DisplayText(Text(role, language)); };
  setWindowTitle(text(KeysText::Caption));
  Button4->setText(text(KeysText::Button4));
  Button3->setText(text(KeysText::Button3));
  Button1->setText(text(KeysText::Button1));
  ButtonHelp->setText(text(KeysText::ButtonHelp));
  HotKeysEnable->setText(text(KeysText::HotKeysEnable));
  Form1Connect->setText(text(KeysText::Form1Connect));
  Form1Connect->setToolTip(text(KeysText::Form1ConnectHint));
  Keys->setHorizontalHeaderLabels({text(KeysText::CommandHeader), text(KeysText::HotKeyHeader)});
}

void TFormKeys::FormActivate() {
  ApplyTexts();
  Model.FormActivate();
}

void TFormKeys::ShowPages(const std::vector<std::string>& names, std::int32_t current) {
  const QSignalBlocker blocker(PageControl1);
  while (PageControl1->count() > 0) PageControl1->removeTab(0);
  for (const std::string& name : names) PageControl1->addTab(ToQString(name));
  PageControl1->setCurrentIndex(current);
}

void TFormKeys::SetRowItems(int row, const KeyCombination& cells) {
  Keys->setItem(row, 0, new QTableWidgetItem(ToQString(cells.Command)));
  Keys->setItem(row, 1, new QTableWidgetItem(ToQString(cells.HotKey)));
}

void TFormKeys::ShowRows(const std::vector<KeyCombination>& rows, std::int32_t selected,
                         bool editable) {
  const QSignalBlocker blocker(Keys);
  Keys->setRowCount(static_cast<int>(rows.size()) + 1);
  for (std::size_t row = 0; row < rows.size(); ++row) {
    SetRowItems(static_cast<int>(row), rows[row]);
  }
  SetRowItems(static_cast<int>(rows.size()), {});
  Keys->setEditTriggers(editable ? CellEditing : QAbstractItemView::NoEditTriggers);
  Keys->setCurrentCell(selected, 0);
}

void TFormKeys::AppendEmptyRow() {
  const QSignalBlocker blocker(Keys);
  const int row = Keys->rowCount();
  Keys->insertRow(row);
  SetRowItems(row, {});
}

void TFormKeys::ShowCell(std::int32_t row, KeyColumn column, std::string_view text) {
  const QSignalBlocker blocker(Keys);
  QTableWidgetItem* item = Keys->item(row, static_cast<int>(column));
  if (item != nullptr) item->setText(ToQString(text));
}

void TFormKeys::ShowOptions(bool hotKeysEnable, bool form1Connect) {
  HotKeysEnable->setChecked(hotKeysEnable);
  Form1Connect->setChecked(form1Connect);
}

void TFormKeys::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormActivate();
}

void TFormKeys::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
  QWidget::changeEvent(event);
}

void TFormKeys::closeEvent(QCloseEvent* event) {
  Model.FormClose();
  event->accept();
}

bool TFormKeys::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Keys && event->type() == QEvent::FocusOut) Model.GridExit();
  return QWidget::eventFilter(watched, event);
}

}  // namespace quillon::gui
