#include "shell/app/BugReportDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CBugReportDialog::CBugReportDialog(const QString& errorText, QWidget* parent) : QDialog(parent) {
  setObjectName("250");
  setWindowTitle("WinKelOrvoShell");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel("Камера не найдена.", this);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  layout->addWidget(title);
  layout->addWidget(new QLabel("Проверьте подключение камеры к ПК и включена ли она.", this));

  auto* buttons = new QHBoxLayout;
  auto* retry = new QPushButton("Повтор", this);
  retry->setObjectName("1");
  retry->setDefault(true);
  auto* cancel = new QPushButton("Отмена", this);
  cancel->setObjectName("2");
  detailsButton_ = new QPushButton("Сведения", this);
  detailsButton_->setObjectName("details");
  buttons->addWidget(retry);
  buttons->addWidget(cancel);
  buttons->addStretch();
  buttons->addWidget(detailsButton_);
  layout->addLayout(buttons);

  details_ = new QPlainTextEdit(errorText, this);
  details_->setObjectName("errorText");
  details_->setReadOnly(true);
  details_->setFixedHeight(details_->fontMetrics().lineSpacing() * 6);
  details_->hide();
  layout->addWidget(details_);
  // The dialog's height follows the details box; its width never changes.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  details_->setMinimumWidth(fontMetrics().averageCharWidth() * 60);

  connect(retry, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(detailsButton_, &QPushButton::clicked, this, [this] { toggleDetails(); });
}

bool CBugReportDialog::DetailsShown() const { return details_->isVisibleTo(this); }

void CBugReportDialog::toggleDetails() {
  const bool show = !DetailsShown();
  details_->setVisible(show);
  detailsButton_->setText(show ? "Скрыть" : "Сведения");
}
