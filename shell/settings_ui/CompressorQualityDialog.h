// The settings dialog of a compressor whose only setting is its quality
// (the compressor filters leave their dialog to the program): a slider and
// a number from 1 (smallest file) to 100 (best picture), OK and cancel.
#pragma once
#include <QDialog>

#include "platform/avi/save_interfaces.h"

class QSpinBox;

class CCompressorQualityDialog : public QDialog {
 public:
  CCompressorQualityDialog(const QString& compressor, LONG quality, QWidget* parent);
  LONG Quality() const;

  // Shows the dialog for `settings`; on OK the compressor takes the new
  // quality. S_FALSE when cancelled, else the compressor's answer.
  static HRESULT Edit(IKelCompressorSettings* settings, const QString& compressor, QWidget* parent);

 private:
  QSpinBox* quality_;
};
