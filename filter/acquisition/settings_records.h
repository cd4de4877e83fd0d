// The filter module's process-wide settings records: written through the
// camera interface on the caller's thread, read by the streaming thread
// without a lock. Every field is a single atomic word, so a reader sees it
// from before or after a write; nothing relies on an order between fields,
// and a frame may combine old and new settings.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "platform/win/gdi_types.h"
#include "platform/win/types.h"

namespace Orvo {

struct WhiteBalanceSettings {
  std::atomic<int> enabled{0};
  std::atomic<int> automatic{0};
  std::atomic<int> gamma{0};
  // Manual coefficients; 0 counts as 1 where they are applied.
  std::atomic<int> red{0};
  std::atomic<int> green{0};
  std::atomic<int> blue{0};
  // Measured channel averages of the last colour frame.
  std::atomic<int> averageRed{0};
  std::atomic<int> averageGreen{0};
  std::atomic<int> averageBlue{0};
  // Written by the pin from the input's pixel format.
  std::atomic<int> colorCamera{0};
};

struct LevelSettings {
  std::atomic<int> summation{0};
  std::atomic<int> black{0};
  std::atomic<int> white{255};
  std::atomic<int> digitalGain{0};
};

// A wide text shared between threads; the one field that is not a word.
class SharedText {
 public:
  void set(std::u16string text) {
    std::lock_guard lock(mutex_);
    text_ = std::move(text);
  }
  std::u16string get() const {
    std::lock_guard lock(mutex_);
    return text_;
  }

 private:
  mutable std::mutex mutex_;
  std::u16string text_;
};

struct SaveOverlaySettings {
  // Film frame range of the save and of the overlay.
  std::atomic<int> firstFrame{0};
  std::atomic<int> lastFrame{0};
  // Null stands for the default GUI font until the shell chooses one.
  std::atomic<HFONT> font{nullptr};
  std::atomic<COLORREF> textColor{0xFFFFFF};
  std::atomic<int> placement{0};
  std::atomic<int> overlayEnabled{0};
  std::atomic<int> writeInfoFile{0};
  SharedText fileName;
  // Progress bar of the save dialog.
  std::atomic<HWND> saveWindow{nullptr};
};

struct ProcessSettings {
  WhiteBalanceSettings whiteBalance;
  LevelSettings levels;
  SaveOverlaySettings save;
  std::atomic<int> dumpRequest{0};
  std::atomic<int> repack{0};
  std::atomic<int> monochrome{0};
  // Visible-frame period of the set-up source.
  std::atomic<int> visibleFramePeriod{0};
};

// The one instance of the process.
ProcessSettings& Settings();

}  // namespace Orvo
