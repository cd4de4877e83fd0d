// Font handles: creation from a description, reading it back, deletion while
// in use, the stock GUI font and the fallback for unknown handles.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/font/font_match.h"
#include "platform/font/font_table.h"
#include "platform/font/gdi_font.h"

namespace {

LOGFONTW wideFont(const std::u16string& face, LONG height, LONG weight = FW_NORMAL, bool italic = false) {
  LOGFONTW d{};
  d.lfHeight = height;
  d.lfWeight = weight;
  d.lfItalic = italic ? 1 : 0;
  d.lfQuality = 5;
  face.copy(d.lfFaceName, LF_FACESIZE - 1);
  return d;
}

TEST(FontHandles, DescriptionReadsBackInBothWidthsUntilDeleted) {
  const LOGFONTW asked = wideFont(u"DejaVu Serif", -20, FW_BOLD, true);
  const HFONT font = CreateFontIndirectW(&asked);
  ASSERT_NE(font, nullptr);

  LOGFONTW wide{};
  EXPECT_EQ(GetObjectW(font, 0, nullptr), static_cast<int>(sizeof(LOGFONTW)));
  ASSERT_EQ(GetObjectW(font, sizeof wide, &wide), static_cast<int>(sizeof wide));
  EXPECT_EQ(std::memcmp(&wide, &asked, sizeof wide), 0);

  LOGFONTA narrow{};
  ASSERT_EQ(GetObjectA(font, sizeof narrow, &narrow), static_cast<int>(sizeof narrow));
  EXPECT_STREQ(narrow.lfFaceName, "DejaVu Serif");
  EXPECT_EQ(narrow.lfHeight, -20);
  EXPECT_EQ(narrow.lfWeight, FW_BOLD);
  EXPECT_EQ(narrow.lfItalic, 1);
  EXPECT_EQ(narrow.lfQuality, 5);

  // A short buffer gets what fits.
  LONG height = 0;
  EXPECT_EQ(GetObjectW(font, sizeof height, &height), static_cast<int>(sizeof height));
  EXPECT_EQ(height, -20);

  EXPECT_EQ(DeleteObject(font), TRUE);
  EXPECT_EQ(GetObjectW(font, sizeof wide, &wide), 0);
  EXPECT_EQ(DeleteObject(font), FALSE);
}

TEST(FontHandles, NarrowCreationKeepsAUtf8NameAndHandlesAreNotReused) {
  LOGFONTA asked{};
  asked.lfHeight = 16;
  std::strcpy(asked.lfFaceName, "Шрифт без файла");  // no such family: the closest match is used
  const HFONT first = CreateFontIndirectA(&asked);
  ASSERT_NE(first, nullptr);
  LOGFONTA back{};
  ASSERT_GT(GetObjectA(first, sizeof back, &back), 0);
  EXPECT_STREQ(back.lfFaceName, "Шрифт без файла");
  LOGFONTW wide{};
  ASSERT_GT(GetObjectW(first, sizeof wide, &wide), 0);
  EXPECT_EQ(std::u16string(wide.lfFaceName), u"Шрифт без файла");

  EXPECT_EQ(DeleteObject(first), TRUE);
  const HFONT second = CreateFontIndirectA(&asked);
  EXPECT_NE(second, first);
  EXPECT_EQ(DeleteObject(second), TRUE);

  EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
  EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
}

TEST(FontHandles, StockGuiFontIsTheSansSerifMatchAndCannotBeDeleted) {
  const auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  ASSERT_NE(stock, nullptr);
  EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), stock);
  EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT + 1), nullptr);

  const auto sans = plat::matchFont("", FW_NORMAL, false);
  ASSERT_TRUE(sans.has_value());
  LOGFONTA d{};
  ASSERT_GT(GetObjectA(stock, sizeof d, &d), 0);
  EXPECT_EQ(std::string(d.lfFaceName), sans->family);
  EXPECT_EQ(d.lfHeight, -plat::FontTable::kDefaultPixelHeight);
  EXPECT_EQ(d.lfWeight, FW_NORMAL);

  EXPECT_EQ(DeleteObject(stock), TRUE);
  EXPECT_GT(GetObjectA(stock, sizeof d, &d), 0);
  const auto face = plat::FontTable::instance().acquire(stock);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->pixelHeight(), plat::FontTable::kDefaultPixelHeight);
}

TEST(FontHandles, FaceInUseOutlivesItsHandleAndUnknownHandlesFallBack) {
  plat::FontTable& table = plat::FontTable::instance();
  const auto stockFace = table.acquire(nullptr);
  ASSERT_NE(stockFace, nullptr);

  const LOGFONTW asked = wideFont(u"DejaVu Sans Mono", -30);
  const HFONT font = CreateFontIndirectW(&asked);
  ASSERT_NE(font, nullptr);
  const auto face = table.acquire(font);
  ASSERT_NE(face, nullptr);
  EXPECT_NE(face, stockFace);
  const int width = face->measure("0123456789").width;

  ASSERT_EQ(DeleteObject(font), TRUE);
  // The holder keeps drawing with the font it had.
  EXPECT_EQ(face->measure("0123456789").width, width);
  EXPECT_EQ(face->pixelHeight(), 30);
  // The deleted handle, and a handle that never was, give the stock font.
  EXPECT_EQ(table.acquire(font), stockFace);
  EXPECT_EQ(table.acquire(reinterpret_cast<HFONT>(std::uintptr_t{0x1234})), stockFace);
}

TEST(FontHandles, SizesFollowTheHeightConvention) {
  plat::FontTable& table = plat::FontTable::instance();
  const LOGFONTW em = wideFont(u"", -24), cell = wideFont(u"", 24), zero = wideFont(u"", 0);
  const HFONT emFont = CreateFontIndirectW(&em), cellFont = CreateFontIndirectW(&cell),
              zeroFont = CreateFontIndirectW(&zero);
  ASSERT_TRUE(emFont && cellFont && zeroFont);
  const auto emFace = table.acquire(emFont), cellFace = table.acquire(cellFont), zeroFace = table.acquire(zeroFont);

  EXPECT_EQ(emFace->pixelHeight(), 24);
  // A positive height is the whole line: smaller characters than the same
  // number as an em height, a line of about that height.
  EXPECT_LT(cellFace->pixelHeight(), 24);
  EXPECT_NEAR(cellFace->metrics().height, 24, 1);
  EXPECT_GT(emFace->metrics().height, cellFace->metrics().height);
  EXPECT_EQ(zeroFace->pixelHeight(), plat::FontTable::kDefaultPixelHeight);

  const plat::FontMetrics& m = emFace->metrics();
  EXPECT_EQ(m.height, m.ascent + m.descent);
  EXPECT_GT(m.ascent, m.descent);
  EXPECT_GE(m.lineHeight(), m.height);
  for (HFONT f : {emFont, cellFont, zeroFont}) DeleteObject(f);
}

TEST(FontHandles, CreatingAndDeletingWhileAnotherThreadDraws) {
  plat::FontTable& table = plat::FontTable::instance();
  const LOGFONTW asked = wideFont(u"DejaVu Sans", -14);
  const HFONT shared = CreateFontIndirectW(&asked);
  ASSERT_NE(shared, nullptr);
  const int expected = table.acquire(shared)->measure("Кадр №:0007").width;

  std::atomic<bool> done{false};
  std::atomic<int> mismatches{0};
  std::thread measurer([&] {
    while (!done) {
      const auto face = table.acquire(shared);
      if (face->measure("Кадр №:0007").width != expected) ++mismatches;
    }
  });
  for (int i = 0; i < 20; ++i) {
    const LOGFONTW other = wideFont(u"DejaVu Sans", -10 - i);
    const HFONT f = CreateFontIndirectW(&other);
    ASSERT_NE(f, nullptr);
    EXPECT_GT(table.acquire(f)->measure("x").width, 0);
    EXPECT_EQ(DeleteObject(f), TRUE);
  }
  done = true;
  measurer.join();
  EXPECT_EQ(mismatches, 0);
  DeleteObject(shared);
}

}  // namespace
