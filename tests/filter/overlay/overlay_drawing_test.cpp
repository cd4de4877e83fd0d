// The overlay drawn into output frames: placement of the text block, the
// preview and save-mode copies, colours, and frames left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "filter/acquisition/System.h"
#include "filter/acquisition/settings_records.h"
#include "filter/processing/blend.h"
#include "platform/font/gdi_font.h"
#include "tests/filter/camera_env.h"

namespace {

using kel::test::CameraEnv;
using Frame = std::vector<std::uint8_t>;

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  bool empty() const { return right < 0; }
};

class OverlayDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    Orvo::SaveOverlaySettings& s = Orvo::Settings().save;
    saved_ = {s.font.load(), s.textColor.load(), s.placement.load(), s.firstFrame.load(), s.lastFrame.load()};
    s.font = nullptr;
    s.textColor = RGB(255, 255, 255);
    s.placement = 0;
    s.firstFrame = 0;
    s.lastFrame = 1000;
    system_ = std::make_unique<Orvo::System>(3);
    system_->Init(0);
    overlay_ = std::make_unique<Blend::BlendInfoEx>(system_->Handle());
    overlay_->Refresh();
  }
  void TearDown() override {
    Orvo::SaveOverlaySettings& s = Orvo::Settings().save;
    s.font = saved_.font;
    s.textColor = saved_.color;
    s.placement = saved_.placement;
    s.firstFrame = saved_.first;
    s.lastFrame = saved_.last;
  }

  void prepare(int width, int height, int bytesPerPixel) {
    width_ = width;
    height_ = height;
    p_ = bytesPerPixel;
    ASSERT_TRUE(overlay_->PrepareBitmap(width, -height, 1, bytesPerPixel * 8));
  }
  Frame pattern() const {
    Frame f(static_cast<std::size_t>(width_) * height_ * p_);
    for (std::size_t i = 0; i < f.size(); ++i) f[i] = static_cast<std::uint8_t>(1 + (i * 37) % 251);
    return f;
  }
  Frame upsideDown(const Frame& f) const {
    Frame out(f.size());
    const std::size_t row = static_cast<std::size_t>(width_) * p_;
    for (int r = 0; r < height_; ++r)
      std::copy_n(f.begin() + static_cast<std::ptrdiff_t>(r * row), row,
                  out.begin() + static_cast<std::ptrdiff_t>((height_ - 1 - r) * row));
    return out;
  }
  const std::uint8_t* px(const Frame& f, int x, int y) const {
    return f.data() + (static_cast<std::size_t>(y) * width_ + x) * p_;
  }
  // The pixels that differ between two frames.
  Box changed(const Frame& before, const Frame& after) const {
    Box b;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (!std::equal(px(before, x, y), px(before, x, y) + p_, px(after, x, y))) {
          b.left = std::min(b.left, x);
          b.top = std::min(b.top, y);
          b.right = std::max(b.right, x + 1);
          b.bottom = std::max(b.bottom, y + 1);
        }
    return b;
  }
  // Draws frame `n` into a black frame: the frame then shows the bitmap.
  Frame drawnOnBlack(int n) {
    Frame f(static_cast<std::size_t>(width_) * height_ * p_, 0);
    overlay_->Draw(f.data(), f.size(), n, false);
    return f;
  }

  CameraEnv camera_;
  std::unique_ptr<Orvo::System> system_;
  std::unique_ptr<Blend::BlendInfoEx> overlay_;
  int width_ = 0, height_ = 0, p_ = 0;

 private:
  struct {
    HFONT font;
    COLORREF color;
    int placement, first, last;
  } saved_{};
};

TEST_F(OverlayDrawing, SixPlacementsPutTheBlockInItsSpot) {
  prepare(900, 240, 4);
  RECT first{};
  for (int placement : {0, 1, 2, 3, 4, 5, 9}) {
    Orvo::Settings().save.placement = placement;
    const Frame black(static_cast<std::size_t>(width_) * height_ * p_, 0);
    const Frame f = drawnOnBlack(7);
    const RECT r = overlay_->TextRect();
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (placement == 0) first = r;
    ASSERT_LT(w, width_);
    ASSERT_LT(h, height_);
    EXPECT_EQ(w, first.right - first.left);
    EXPECT_EQ(h, first.bottom - first.top);

    const int column = placement == 9 ? 0 : placement % 3;
    const int expectedLeft = column == 0 ? 0 : column == 1 ? (width_ - w) / 2 : width_ - w;
    const int expectedTop = placement >= 3 && placement <= 5 ? height_ - h : 0;
    EXPECT_EQ(r.left, expectedLeft) << placement;
    EXPECT_EQ(r.top, expectedTop) << placement;

    // The ink lies in the block, reaching near its left edge and filling
    // two rows of text.
    const Box ink = changed(black, f);
    ASSERT_FALSE(ink.empty()) << placement;
    EXPECT_GE(ink.left, r.left);
    EXPECT_LE(ink.right, r.right);
    EXPECT_GE(ink.top, r.top);
    EXPECT_LE(ink.bottom, r.bottom);
    EXPECT_LE(ink.left - r.left, 3);
    EXPECT_GT(ink.bottom - ink.top, h / 2);
  }
}

TEST_F(OverlayDrawing, BlockWiderThanTheFrameStartsAtZero) {
  prepare(120, 100, 3);
  Orvo::Settings().save.placement = 4;
  const Frame before = pattern();
  Frame f = before;
  overlay_->Draw(f.data(), f.size(), 7, false);
  const RECT r = overlay_->TextRect();
  EXPECT_EQ(r.left, 0);
  EXPECT_GT(r.right, width_);
  EXPECT_EQ(r.bottom, height_);
  const Box ink = changed(before, f);
  ASSERT_FALSE(ink.empty());
  EXPECT_LE(ink.left, 3);
}

TEST_F(OverlayDrawing, SaveModeIsThePreviewTurnedUpsideDown) {
  for (int placement : {0, 5}) {
    prepare(640, 120, 3);
    Orvo::Settings().save.placement = placement;
    const Frame source = pattern();
    Frame preview = source;
    overlay_->Draw(preview.data(), preview.size(), 12, false);
    Frame saved = upsideDown(source);
    overlay_->Draw(saved.data(), saved.size(), 12, true);
    EXPECT_EQ(upsideDown(saved), preview) << placement;
    EXPECT_NE(preview, source);
  }
}

TEST_F(OverlayDrawing, ColouredTextShowsInBothModes) {
  prepare(700, 80, 4);
  for (COLORREF color : {RGB(255, 0, 0), RGB(0, 255, 0), RGB(255, 255, 0)}) {
    Orvo::Settings().save.textColor = color;
    const std::uint8_t bgr[3] = {static_cast<std::uint8_t>(color >> 16), static_cast<std::uint8_t>(color >> 8),
                                 static_cast<std::uint8_t>(color)};
    const Frame grey(static_cast<std::size_t>(width_) * height_ * p_, 0x40);
    Frame preview = grey, saved = grey;
    overlay_->Draw(preview.data(), preview.size(), 3, false);
    overlay_->Draw(saved.data(), saved.size(), 3, true);
    int solidPreview = 0, solidSaved = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        const std::uint8_t* p = px(preview, x, y);
        const std::uint8_t* s = px(saved, x, y);
        if (std::equal(bgr, bgr + 3, p)) ++solidPreview;
        // Preview copies whole pixels: a zero colour byte comes along.
        const bool touched = !std::equal(p, p + 3, px(grey, x, y));
        for (int k = 0; k < 3; ++k) {
          if (touched && bgr[k] == 0) {
            EXPECT_EQ(p[k], 0);
          }
        }
        // Save mode copies only the non-zero bytes: the others stay grey.
        for (int k = 0; k < 3; ++k) {
          if (bgr[k] == 0) {
            EXPECT_EQ(s[k], 0x40);
          }
        }
        solidSaved += s[0] == (bgr[0] ? bgr[0] : 0x40) && s[1] == (bgr[1] ? bgr[1] : 0x40) &&
                      s[2] == (bgr[2] ? bgr[2] : 0x40);
      }
    EXPECT_GT(solidPreview, 50) << std::hex << color;
    EXPECT_GT(solidSaved, 50) << std::hex << color;
  }
}

TEST_F(OverlayDrawing, PixelsOutsideTheBlockAreUnchanged) {
  for (int bpp : {3, 4}) {
    prepare(800, 150, bpp);
    Orvo::Settings().save.placement = 1;
    const Frame before = pattern();
    Frame preview = before, saved = before;
    overlay_->Draw(preview.data(), preview.size(), 500, false);
    overlay_->Draw(saved.data(), saved.size(), 500, true);
    const RECT r = overlay_->TextRect();
    const Box a = changed(before, preview), b = changed(before, saved);
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    EXPECT_TRUE(a.left >= r.left && a.right <= r.right && a.top >= r.top && a.bottom <= r.bottom);
    // Save mode mirrors the block's rows.
    EXPECT_TRUE(b.left >= r.left && b.right <= r.right && b.top >= height_ - r.bottom &&
                b.bottom <= height_ - r.top);
  }
}

TEST_F(OverlayDrawing, UnpreparedUnsupportedOrShortFramesAreLeftAlone) {
  width_ = 64;
  height_ = 32;
  p_ = 4;
  const Frame before = pattern();
  Frame f = before;
  overlay_->Draw(f.data(), f.size(), 1, false);
  EXPECT_EQ(f, before);

  EXPECT_FALSE(overlay_->PrepareBitmap(64, -32, 1, 16));
  EXPECT_EQ(overlay_->Description().bmWidth, 0);
  overlay_->Draw(f.data(), f.size(), 1, true);
  EXPECT_EQ(f, before);
  EXPECT_FALSE(overlay_->PrepareBitmap(64, -32, 2, 32));

  // A frame holding only the top half of the bitmap gets nothing of a block
  // at the bottom, and nothing is written past it.
  prepare(600, 64, 4);
  Orvo::Settings().save.placement = 3;
  const Frame full = pattern();
  Frame half(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(full.size() / 2));
  const Frame halfBefore = half;
  overlay_->Draw(half.data(), half.size(), 1, false);
  EXPECT_EQ(half, halfBefore);
  EXPECT_GT(overlay_->TextRect().top, height_ / 2);
}

TEST_F(OverlayDrawing, ChosenFontSizesTheBlockAndADeletedOneFallsBack) {
  prepare(1600, 200, 4);
  overlay_->Compose(nullptr, 1);
  const RECT stock = overlay_->TextRect();

  LOGFONTW big{};
  big.lfHeight = -24;
  const HFONT font = CreateFontIndirectW(&big);
  ASSERT_NE(font, nullptr);
  Orvo::Settings().save.font = font;
  overlay_->Compose(nullptr, 1);
  const RECT large = overlay_->TextRect();
  EXPECT_GT(large.bottom - large.top, stock.bottom - stock.top);
  EXPECT_GT(large.right - large.left, stock.right - stock.left);

  ASSERT_EQ(DeleteObject(font), TRUE);
  overlay_->Compose(nullptr, 1);
  const RECT after = overlay_->TextRect();
  EXPECT_EQ(after.bottom - after.top, stock.bottom - stock.top);
  EXPECT_EQ(after.right - after.left, stock.right - stock.left);
}

}  // namespace
