#include "tests/shell/qt_helpers.h"

#include <QAbstractButton>

namespace kel::test {

QAbstractButton* buttonWithText(QWidget* dialog, const QString& text) {
  for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

}  // namespace kel::test
