#include "shell/settings_ui/CompressorQualityDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

namespace {
constexpr int kLowest = 1;
constexpr int kHighest = 100;
}  // namespace

CCompressorQualityDialog::CCompressorQualityDialog(const QString& compressor, LONG quality, QWidget* parent)
    : QDialog(parent), quality_(new QSpinBox) {
  setWindowTitle(compressor);
  auto* slider = new QSlider(Qt::Horizontal);
  slider->setRange(kLowest, kHighest);
  quality_->setRange(kLowest, kHighest);
  quality_->setValue(static_cast<int>(quality));
  slider->setValue(static_cast<int>(quality));
  connect(slider, &QSlider::valueChanged, quality_, &QSpinBox::setValue);
  connect(quality_, &QSpinBox::valueChanged, slider, &QSlider::setValue);

  auto* row = new QHBoxLayout;
  row->addWidget(slider, 1);
  row->addWidget(quality_);
  auto* form = new QFormLayout;
  form->addRow("Качество:", row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Cancel)->setText("Отмена");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

LONG CCompressorQualityDialog::Quality() const { return quality_->value(); }

HRESULT CCompressorQualityDialog::Edit(IKelCompressorSettings* settings, const QString& compressor,
                                       QWidget* parent) {
  LONG quality = 0;
  const HRESULT read = settings->GetQuality(&quality);
  if (FAILED(read)) return read;
  CCompressorQualityDialog dialog(compressor, quality, parent);
  if (dialog.exec() != QDialog::Accepted) return S_FALSE;
  return settings->SetQuality(dialog.Quality());
}
