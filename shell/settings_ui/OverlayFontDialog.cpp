#include "shell/settings_ui/OverlayFontDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace {
constexpr int kSwatchSize = 16;
}  // namespace

COverlayFontDialog::COverlayFontDialog(const QFont& font, const QColor& colour, QWidget* parent)
    : QDialog(parent), fonts_(new QFontDialog(font, this)), colourButton_(new QPushButton("&Цвет...")) {
  setWindowTitle("Шрифт");
  // The standard font chooser as a part of this dialog, without its own
  // buttons.
  fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog | QFontDialog::ScalableFonts);
  fonts_->setWindowFlags(Qt::Widget);
  colourButton_->setObjectName(kColourButton);
  connect(colourButton_, &QPushButton::clicked, this, [this] { chooseColour(); });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* colourRow = new QHBoxLayout;
  colourRow->addWidget(new QLabel("Цвет текста:"));
  colourRow->addWidget(colourButton_);
  colourRow->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fonts_);
  layout->addLayout(colourRow);
  layout->addWidget(buttons);
  SetColour(colour);
}

void COverlayFontDialog::SetColour(const QColor& colour) {
  colour_ = colour;
  QPixmap swatch(kSwatchSize, kSwatchSize);
  swatch.fill(colour);
  colourButton_->setIcon(QIcon(swatch));
}

void COverlayFontDialog::chooseColour() {
  const QColor chosen = QColorDialog::getColor(colour_, this, "Цвет текста");
  if (chosen.isValid()) SetColour(chosen);
}
