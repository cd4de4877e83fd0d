#include "shell/panels/CameraOptionsSet.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "platform/win/message_box.h"
#include "platform/win/messages.h"
#include "platform/win/window_table.h"
#include "shell/app/MessageBoxes.h"
#include "shell/app/WindowBinding.h"
#include "shell/settings/PresetItems.h"
#include "shell/settings/PresetStore.h"
#include "shell/settings_ui/SetupPanel.h"

namespace {
constexpr int kTemplateId = 251;
constexpr int kNameId = 1190;
constexpr int kListId = 1191;
constexpr int kUpdateId = 1192;
constexpr int kOkId = 1;
constexpr int kCancelId = 2;
constexpr int kNameColumnWidth = 180;
constexpr int kValueColumnWidth = 300;
constexpr int kNameFontGrowth = 3;

QPushButton* MakeButton(const QString& text, int id, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::number(id));
  return button;
}
}  // namespace

CCameraOptionsSet::CCameraOptionsSet(Mode mode, std::vector<Sett::c_cameraoption_item> items,
                                     const std::string& name, Sett::PresetStore& store, PanelSource panel,
                                     QWidget* owner)
    : QDialog(owner),
      mode_(mode),
      items_(std::move(items)),
      store_(store),
      panel_(std::move(panel)),
      name_(new QLineEdit(this)),
      list_(new QTableWidget(0, 2, this)) {
  setObjectName(QString::number(kTemplateId));
  setWindowTitle(mode_ == kCreate ? "Создание набор" : "Изменение набора");

  name_->setObjectName(QString::number(kNameId));
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPixelSize(QFontInfo(font).pixelSize() + kNameFontGrowth);
  name_->setFont(font);
  name_->setText(QString::fromStdString(mode_ == kCreate ? std::string("Новый набор") : name));

  list_->setObjectName(QString::number(kListId));
  list_->setHorizontalHeaderLabels({"Имя", "Значение"});
  list_->setColumnWidth(0, kNameColumnWidth);
  list_->setColumnWidth(1, kValueColumnWidth);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setShowGrid(true);
  list_->verticalHeader()->hide();

  QPushButton* update = MakeButton("Изменить", kUpdateId, this);
  QPushButton* save = MakeButton("Сохранить набор", kOkId, this);
  QPushButton* cancel = MakeButton("Отмена", kCancelId, this);
  save->setDefault(true);
  connect(update, &QPushButton::clicked, this, &CCameraOptionsSet::onUpdate);
  connect(save, &QPushButton::clicked, this, &CCameraOptionsSet::onSave);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel("Имя набора", this), 0, 0);
  layout->addWidget(name_, 0, 1, 1, 3);
  layout->addWidget(list_, 1, 0, 1, 4);
  layout->addWidget(update, 2, 0);
  layout->setColumnStretch(1, 1);
  layout->addWidget(save, 2, 2);
  layout->addWidget(cancel, 2, 3);
  resize(kNameColumnWidth + kValueColumnWidth + 40, 360);

  // An edited preset takes the current settings at once, before the dialog
  // is shown: the file's old values are never what the user sees.
  if (mode_ == kCreate) fill();
  else onUpdate();
}

void CCameraOptionsSet::fill() {
  list_->setRowCount(0);
  list_->setRowCount(static_cast<int>(items_.size()));
  for (int row = 0; row < list_->rowCount(); ++row) {
    const Sett::c_cameraoption_item& item = items_[static_cast<std::size_t>(row)];
    std::string value = item.valueText;
    if (item.kind == Sett::c_cameraoption_item::kScalar) value += item.unitText;
    list_->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(item.nameText)));
    list_->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(value)));
  }
}

void CCameraOptionsSet::onUpdate() {
  if (ISetupPanel* panel = panel_ ? panel_() : nullptr) Sett::RefreshFromPanel(items_, panel->Bindings());
  fill();
}

int CCameraOptionsSet::ask(const QString& text, unsigned flags) {
  return ShellBoxes::Show(this, text, windowTitle(), flags);
}

void CCameraOptionsSet::onSave() {
  const std::string name = name_->text().toStdString();
  if (const auto problem = Sett::PresetStore::NameProblem(name)) {
    ask(QString::fromStdString(*problem), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (mode_ == kCreate && store_.Exists(name) &&
      ask("Набор с таким именем существует. Хотите заменить?", MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  // A file that cannot be written is reported and the editor still closes:
  // the menus are rebuilt from what the folder holds now.
  if (!store_.SavePreset(name, Sett::PresetLines(items_)))
    ask(QString::fromStdString(store_.GetLastErrorText()), MB_OK | MB_ICONERROR);
  if (HWND owner = HwndOf(parentWidget())) ::PostMessage(owner, WM_PRESETS_CHANGED, 0, 0);
  accept();
}
