#include "filter/processing/blend_info.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <atomic>

#include "filter/acquisition/settings_records.h"
#include "filter/processing/blend_layout.h"
#include "platform/font/font_table.h"
#include "platform/font/text_renderer.h"

namespace Blend {
namespace {

// Large enough for any frame the grabber delivers, small enough that the
// bitmap's byte count cannot overflow.
constexpr int kMaxSide = 1 << 15;

}  // namespace

bool BlendInfo::PrepareBitmap(int width, int height, int planes, int bitsPerPixel) {
  std::lock_guard lock(mutex_);
  bits_.clear();
  bits_.shrink_to_fit();
  bitmap_ = BITMAP{};
  textRect_ = RECT{};
  const int rows = std::abs(height);
  if (planes != 1 || (bitsPerPixel != 24 && bitsPerPixel != 32) || width < 0 || width > kMaxSide ||
      height < -kMaxSide || height > kMaxSide)
    return false;
  bitmap_.bmWidth = width;
  bitmap_.bmHeight = height;
  bitmap_.bmWidthBytes = width * (bitsPerPixel / 8);
  bitmap_.bmPlanes = 1;
  bitmap_.bmBitsPixel = static_cast<WORD>(bitsPerPixel);
  bits_.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(bitmap_.bmWidthBytes), 0);
  return true;
}

BITMAP BlendInfo::Description() const {
  std::lock_guard lock(mutex_);
  return bitmap_;
}

RECT BlendInfo::TextRect() const {
  std::lock_guard lock(mutex_);
  return textRect_;
}

void BlendInfo::Compose(const char* text, int) {
  DrawCells(text ? std::vector<std::string>{text} : std::vector<std::string>{});
}

void BlendInfo::DrawCells(const std::vector<std::string>& cells) {
  std::lock_guard lock(mutex_);
  std::fill(bits_.begin(), bits_.end(), std::uint8_t{0});
  textRect_ = RECT{};
  if (bits_.empty()) return;

  const Orvo::SaveOverlaySettings& settings = Orvo::Settings().save;
  // Held for the whole drawing: a font deleted meanwhile stays usable.
  const auto font = plat::FontTable::instance().acquire(settings.font.load());
  if (!font) {
    static std::atomic<bool> reported{false};
    if (!reported.exchange(true)) std::fprintf(stderr, "blend: no font is installed; the frame overlay stays empty\n");
    return;
  }
  std::vector<plat::TextExtent> extents;
  extents.reserve(cells.size());
  for (const std::string& cell : cells) extents.push_back(font->measure(cell));
  const int rows = std::abs(bitmap_.bmHeight);
  const CellLayout layout = LayOutCells(extents, settings.placement.load(), bitmap_.bmWidth, rows);

  const plat::PixelTarget target{bits_.data(), bitmap_.bmWidth, rows, bitmap_.bmWidthBytes, bitmap_.bmBitsPixel / 8};
  const COLORREF color = settings.textColor.load();
  for (std::size_t i = 0; i < cells.size(); ++i)
    plat::drawText(*font, target, layout.cells[i].left, layout.cells[i].top, color, cells[i]);
  textRect_ = layout.block;
}

void BlendInfo::Blend(std::uint8_t* frame, std::size_t frameBytes, bool flip) {
  std::lock_guard lock(mutex_);
  if (bits_.empty() || !frame) return;
  const std::size_t p = bitmap_.bmBitsPixel / 8;
  const std::size_t rowBytes = static_cast<std::size_t>(bitmap_.bmWidthBytes);
  const int rows = std::abs(bitmap_.bmHeight);
  const int frameRows = static_cast<int>(std::min<std::size_t>(frameBytes / rowBytes, static_cast<std::size_t>(rows)));

  // Outside the text block the bitmap is all zero: only its rows and
  // columns can change the frame.
  const int top = std::clamp<int>(textRect_.top, 0, rows), bottom = std::clamp<int>(textRect_.bottom, 0, rows);
  const std::size_t left = static_cast<std::size_t>(std::clamp<int>(textRect_.left, 0, bitmap_.bmWidth));
  const std::size_t right = static_cast<std::size_t>(std::clamp<int>(textRect_.right, 0, bitmap_.bmWidth));
  for (int r = top; r < bottom; ++r) {
    const int frameRow = flip ? rows - 1 - r : r;
    if (frameRow >= frameRows) continue;
    const std::uint8_t* src = bits_.data() + static_cast<std::size_t>(r) * rowBytes;
    std::uint8_t* dst = frame + static_cast<std::size_t>(frameRow) * rowBytes;
    if (flip) {
      for (std::size_t b = left * p; b < right * p; ++b)
        if (src[b] != 0) dst[b] = src[b];
    } else {
      // Any colour byte counts, so red, green and yellow text shows too.
      // Only the colour bytes go: the fourth byte of a 32-bit frame pixel
      // stays opaque.
      for (std::size_t x = left; x < right; ++x) {
        const std::uint8_t* s = src + x * p;
        if (s[0] | s[1] | s[2]) std::copy_n(s, 3, dst + x * p);
      }
    }
  }
}

}  // namespace Blend
