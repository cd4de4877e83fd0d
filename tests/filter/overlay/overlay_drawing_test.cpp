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

using Frame = std::vector<std::uint8_t>;

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

class OverlayDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = {s().font, s().textColor, s().placement, s().lastFrame};
    s().font = nullptr;
    s().textColor = RGB(255, 255, 255);
    s().lastFrame = s().firstFrame + 1000;
    system_.Init(0);
    overlay_ = std::make_unique<Blend::BlendInfoEx>(system_.Handle());
    overlay_->Refresh();
  }
  void TearDown() override {
    s().font = saved_.font;
    s().textColor = saved_.color;
    s().placement = saved_.placement;
    s().lastFrame = saved_.last;
  }
  static Orvo::SaveOverlaySettings& s() { return Orvo::Settings().save; }

  void prepare(int width, int height, int bytesPerPixel, int placement) {
    w_ = width;
    h_ = height;
    p_ = bytesPerPixel;
    s().placement = placement;
    ASSERT_TRUE(overlay_->PrepareBitmap(width, -height, 1, bytesPerPixel * 8));
  }
  Frame pattern() const {
    Frame f(static_cast<std::size_t>(w_) * h_ * p_);
    for (std::size_t i = 0; i < f.size(); ++i) f[i] = static_cast<std::uint8_t>(1 + (i * 37) % 251);
    return f;
  }
  Frame upsideDown(const Frame& f) const {
    Frame out(f.size());
    const std::size_t row = static_cast<std::size_t>(w_) * p_;
    for (int r = 0; r < h_; ++r) std::copy_n(&f[r * row], row, &out[(h_ - 1 - r) * row]);
    return out;
  }
  const std::uint8_t* px(const Frame& f, int x, int y) const { return &f[(static_cast<std::size_t>(y) * w_ + x) * p_]; }
  // Bounding box of the pixels that differ.
  Box changed(const Frame& before, const Frame& after) const {
    Box b;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (!std::equal(px(before, x, y), px(before, x, y) + p_, px(after, x, y)))
          b = {std::min(b.left, x), std::min(b.top, y), std::max(b.right, x + 1), std::max(b.bottom, y + 1)};
    return b;
  }

  kel::test::CameraEnv camera_;
  Orvo::System system_{3};
  std::unique_ptr<Blend::BlendInfoEx> overlay_;
  int w_ = 0, h_ = 0, p_ = 0;

 private:
  struct {
    HFONT font;
    COLORREF color;
    int placement, last;
  } saved_{};
};

TEST_F(OverlayDrawing, SixPlacementsPutTheBlockInItsSpotAndChangeNothingElse) {
  RECT first{};
  for (int placement : {0, 1, 2, 3, 4, 5, 9}) {
    prepare(900, 240, placement % 2 ? 3 : 4, placement);
    const Frame before = pattern();
    Frame f = before;
    overlay_->Draw(f.data(), f.size(), 7, false);
    const RECT r = overlay_->TextRect();
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (placement == 0) first = r;
    EXPECT_EQ(w, first.right - first.left);
    EXPECT_EQ(h, first.bottom - first.top);
    const int column = placement == 9 ? 0 : placement % 3;
    EXPECT_EQ(r.left, column == 0 ? 0 : column == 1 ? (w_ - w) / 2 : w_ - w) << placement;
    EXPECT_EQ(r.top, placement >= 3 && placement <= 5 ? h_ - h : 0) << placement;
    // The ink lies in the block, reaches near its left edge and fills both
    // rows of text.
    const Box ink = changed(before, f);
    EXPECT_TRUE(ink.left >= r.left && ink.right <= r.right && ink.top >= r.top && ink.bottom <= r.bottom);
    EXPECT_LE(ink.left - r.left, 3);
    EXPECT_GT(ink.bottom - ink.top, h / 2);
  }
  // A block wider than the frame starts at its left edge.
  prepare(120, 100, 3, 4);
  const Frame before = pattern();
  Frame f = before;
  overlay_->Draw(f.data(), f.size(), 7, false);
  EXPECT_EQ(overlay_->TextRect().left, 0);
  EXPECT_GT(overlay_->TextRect().right, w_);
  EXPECT_LE(changed(before, f).left, 3);
}

TEST_F(OverlayDrawing, SaveModeIsThePreviewTurnedUpsideDown) {
  for (int placement : {0, 5}) {
    prepare(640, 120, 3, placement);
    const Frame source = pattern();
    Frame preview = source;
    overlay_->Draw(preview.data(), preview.size(), 12, false);
    Frame saved = upsideDown(source);
    overlay_->Draw(saved.data(), saved.size(), 12, true);
    EXPECT_EQ(upsideDown(saved), preview) << placement;
    EXPECT_NE(preview, source);
  }
}

TEST_F(OverlayDrawing, RedGreenAndYellowTextShowInBothModes) {
  prepare(700, 80, 4, 0);
  for (COLORREF color : {RGB(255, 0, 0), RGB(0, 255, 0), RGB(255, 255, 0)}) {
    s().textColor = color;
    const std::uint8_t bgr[3] = {std::uint8_t(color >> 16), std::uint8_t(color >> 8), std::uint8_t(color)};
    const Frame grey(static_cast<std::size_t>(w_) * h_ * p_, 0x40);
    Frame preview = grey, saved = grey;
    overlay_->Draw(preview.data(), preview.size(), 3, false);
    overlay_->Draw(saved.data(), saved.size(), 3, true);
    int solidPreview = 0, solidSaved = 0;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) {
        const std::uint8_t *p = px(preview, x, y), *q = px(saved, x, y);
        solidPreview += std::equal(bgr, bgr + 3, p);
        // Preview copies the three colour bytes, zero ones too; save mode
        // only the non-zero bytes, the others stay grey.
        const bool touched = !std::equal(p, p + 3, px(grey, x, y));
        bool solid = true;
        for (int k = 0; k < 3; ++k) {
          EXPECT_TRUE(bgr[k] != 0 || !touched || p[k] == 0);
          EXPECT_TRUE(bgr[k] != 0 || q[k] == 0x40);
          solid = solid && q[k] == (bgr[k] ? bgr[k] : 0x40);
        }
        solidSaved += solid;
        // The fourth byte is no colour: the frame's own stays in both modes.
        ASSERT_EQ(p[3], 0x40);
        ASSERT_EQ(q[3], 0x40);
      }
    EXPECT_GT(solidPreview, 50) << std::hex << color;
    EXPECT_GT(solidSaved, 50) << std::hex << color;
  }
}

TEST_F(OverlayDrawing, UnpreparedUnsupportedOrShortFramesAreLeftAlone) {
  w_ = 64, h_ = 32, p_ = 4;
  const Frame before = pattern();
  Frame f = before;
  overlay_->Draw(f.data(), f.size(), 1, false);
  EXPECT_FALSE(overlay_->PrepareBitmap(64, -32, 1, 16));
  overlay_->Draw(f.data(), f.size(), 1, true);
  EXPECT_FALSE(overlay_->PrepareBitmap(64, -32, 2, 32));
  EXPECT_EQ(f, before);

  // A frame holding only the top half of the bitmap gets nothing of a block
  // at the bottom, and nothing is written past it.
  prepare(600, 64, 4, 3);
  const Frame full = pattern();
  Frame half(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(full.size() / 2));
  overlay_->Draw(half.data(), half.size(), 1, false);
  EXPECT_TRUE(std::equal(half.begin(), half.end(), full.begin()));
  EXPECT_GT(overlay_->TextRect().top, h_ / 2);
}

TEST_F(OverlayDrawing, ChosenFontSizesTheBlockAndADeletedOneFallsBack) {
  prepare(1600, 200, 4, 0);
  overlay_->Compose(nullptr, 1);
  const RECT stock = overlay_->TextRect();
  LOGFONTW big{};
  big.lfHeight = -24;
  const HFONT font = CreateFontIndirectW(&big);
  s().font = font;
  overlay_->Compose(nullptr, 1);
  EXPECT_GT(overlay_->TextRect().bottom, stock.bottom);
  EXPECT_GT(overlay_->TextRect().right, stock.right);
  ASSERT_EQ(DeleteObject(font), TRUE);
  overlay_->Compose(nullptr, 1);
  EXPECT_EQ(overlay_->TextRect().bottom, stock.bottom);
  EXPECT_EQ(overlay_->TextRect().right, stock.right);
}

}  // namespace
