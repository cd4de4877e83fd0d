// A small up/down arrow pair that steps the number of a buddy edit: the
// number is the edit's text, read when the arrows are used or the position
// is asked for, so a typed number is where the next step starts. After
// every step the edit shows the new position and the owner is told the
// change, so it may show what the camera made of it instead.
#pragma once
#include <QSpinBox>
#include <functional>

class QLineEdit;

class CUpDownControl : public QSpinBox {
  Q_OBJECT
 public:
  using StepHandler = std::function<void(int change)>;

  CUpDownControl(QLineEdit* buddy, QWidget* parent);

  void SetStepHandler(StepHandler handler) { onStep_ = std::move(handler); }
  // The buddy's number kept within the range; the last position when the
  // text is no number.
  int Position();
  // The buddy's number as typed, for owners whose limits move with the
  // other fields; the last position when the text is no number.
  int Number() const;
  // Moves the arrows and writes the number into the buddy.
  void SetPosition(int position);
  void stepBy(int steps) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* buddy_;
  StepHandler onStep_;
};
