#include "shell/settings_ui/ProgressBarWindow.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/win/messages.h"

namespace {
// The two 16-bit halves of a range message's lParam.
int lowWord(LPARAM value) { return static_cast<int>(static_cast<std::uint32_t>(value) & 0xFFFFu); }
int highWord(LPARAM value) { return static_cast<int>((static_cast<std::uint32_t>(value) >> 16) & 0xFFFFu); }
LRESULT wordPair(int low, int high) {
  return static_cast<LRESULT>((static_cast<std::uint32_t>(low) & 0xFFFFu) |
                              ((static_cast<std::uint32_t>(high) & 0xFFFFu) << 16));
}
}  // namespace

CProgressBarWindow::CProgressBarWindow(QWidget* parent) : QProgressBar(parent) {
  setTextVisible(false);
  setRange(0, 100);
  setValue(0);
}

int CProgressBarWindow::SetPos(int position) {
  const int previous = value();
  setValue(std::clamp(position, minimum(), maximum()));
  return previous;
}

bool CProgressBarWindow::event(QEvent* e) {
  if (WinMessageEvent* m = AsWinMessage(e)) {
    m->result = handle(m->message, m->wParam, m->lParam);
    return true;
  }
  return QProgressBar::event(e);
}

int CProgressBarWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case PBM_SETRANGE: {
      const LRESULT previous = wordPair(minimum(), maximum());
      const int position = value();
      setRange(lowWord(lParam), highWord(lParam));
      SetPos(position);
      return static_cast<int>(previous);
    }
    case PBM_SETPOS: return SetPos(static_cast<int>(wParam));
    case PBM_DELTAPOS: return SetPos(value() + static_cast<int>(wParam));
    case PBM_SETSTEP: return std::exchange(step_, static_cast<int>(wParam));
    case PBM_STEPIT: {
      const int previous = value();
      const int next = previous + step_;
      // Past the top the bar starts again from the bottom.
      setValue(next > maximum() ? minimum() : next);
      return previous;
    }
    default: return 0;
  }
}
