// "Камера не найдена.": offered when the camera cannot be brought up. Retry
// ("Повтор") or give up ("Отмена"); the error's text is in a details box
// that opens and closes under the "Сведения"/"Скрыть" button, the width
// staying the same.
#pragma once
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class CBugReportDialog : public QDialog {
 public:
  CBugReportDialog(const QString& errorText, QWidget* parent = nullptr);

  bool DetailsShown() const;

 private:
  void toggleDetails();

  QPlainTextEdit* details_;
  QPushButton* detailsButton_;
};
