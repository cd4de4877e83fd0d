// The font choice of the information text: the font with its effects and
// the colour it is drawn in, in one modal dialog.
#pragma once
#include <QColor>
#include <QDialog>
#include <QFont>
#include <QFontDialog>
#include <QPushButton>

class COverlayFontDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kColourButton = "colour";

  COverlayFontDialog(const QFont& font, const QColor& colour, QWidget* parent);

  QFont SelectedFont() const { return fonts_->currentFont(); }
  QColor SelectedColour() const { return colour_; }
  void SetFont(const QFont& font) { fonts_->setCurrentFont(font); }
  void SetColour(const QColor& colour);

 private:
  void chooseColour();

  QFontDialog* fonts_;
  QPushButton* colourButton_;
  QColor colour_;
};
