#include "shell/app/AboutDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "filter/hardware/kellib3.h"
#include "platform/com/bstr_holder.h"
#include "platform/kernel/text_codec.h"
#include "shared/camera_interfaces.h"

namespace {

QString serialLine(ICamera2* camera) {
  if (!camera) return {};
  plat::Bstr serial;
  if (FAILED(camera->GetSerialNumber(serial.put()))) return {};
  return "Серийный номер: " + QString::fromStdString(plat::utf16ToUtf8(serial.view()));
}

QLabel* line(const QString& text, const char* id, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(id);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

CAboutDlg::CAboutDlg(ICamera2* camera, QWidget* parent) : QDialog(parent) {
  setObjectName("100");
  setWindowTitle("О программе WinKelOrvoShell");
  setWindowModality(Qt::ApplicationModal);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(line("WinKelOrvoShell", "title", this));
  layout->addWidget(line("Версия 1.11.1", "version", this));
  layout->addWidget(line("Управление скоростной цифровой камерой", "purpose", this));
  const char* library = KelLib3Version();
  layout->addWidget(line(QString("KelLib3Version: ") + (library ? library : ""), "1177", this));
  layout->addWidget(line(serialLine(camera), "1184", this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}
