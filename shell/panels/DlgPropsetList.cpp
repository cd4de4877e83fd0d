#include "shell/panels/DlgPropsetList.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/app/LogStore.h"
#include "shell/settings/PresetStore.h"

namespace {
constexpr int kTemplateId = 247;
constexpr int kListId = 1155;
constexpr int kOkId = 1;
constexpr int kCancelId = 2;

const char* ActionText(CDlgPropsetList::Mode mode) {
  switch (mode) {
    case CDlgPropsetList::kLoad: return "Загрузить";
    case CDlgPropsetList::kDelete: return "Удалить";
    default: return "Редактирвать";
  }
}
}  // namespace

CDlgPropsetList::CDlgPropsetList(Mode mode, Sett::PresetStore& store, QWidget* owner)
    : QDialog(owner), mode_(mode), store_(store), list_(new QListWidget(this)), action_(new QPushButton(this)) {
  setObjectName(QString::number(kTemplateId));
  setWindowTitle("Наборы настроек");
  list_->setObjectName(QString::number(kListId));
  // A long name scrolls sideways instead of being cut.
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  for (const std::string& name : store_.ListPresets(Sett::kListedPresets))
    list_->addItem(QString::fromStdString(name));
  if (list_->count() > 0) list_->setCurrentRow(0);

  action_->setObjectName(QString::number(kOkId));
  action_->setText(ActionText(mode_));
  action_->setDefault(true);
  auto* close = new QPushButton("Закрыть", this);
  close->setObjectName(QString::number(kCancelId));
  connect(action_, &QPushButton::clicked, this, &CDlgPropsetList::onAction);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(action_);
  buttons->addWidget(close);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
}

void CDlgPropsetList::onAction() {
  QListWidgetItem* item = list_->currentItem();
  if (!item || !item->isSelected()) return;
  chosen_ = item->text().toStdString();
  if (mode_ != kDelete) {
    accept();
    return;
  }
  // A file in use or already gone keeps its name and asks no question; the
  // reason goes to the log.
  if (!store_.DeletePreset(chosen_)) {
    LogError(".\\DlgPropsetList", __LINE__, store_.GetLastErrorText());
    return;
  }
  const int row = list_->row(item);
  delete list_->takeItem(row);
  if (list_->count() > 0) list_->setCurrentRow(std::min(row, list_->count() - 1));
}
