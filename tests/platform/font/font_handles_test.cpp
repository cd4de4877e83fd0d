// Font handles: creation from a description, reading it back, deletion while
// in use, the stock GUI font and the fallback for unknown handles.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "platform/font/font_match.h"
#include "platform/font/font_table.h"
#include "platform/font/gdi_font.h"

namespace {

LOGFONTW wideFont(const std::u16string& face, LONG height, LONG weight = FW_NORMAL) {
  LOGFONTW d{};
  d.lfHeight = height;
  d.lfWeight = weight;
  face.copy(d.lfFaceName, LF_FACESIZE - 1);
  return d;
}

TEST(FontHandles, DescriptionReadsBackUntilDeletedAndHandlesAreNotReused) {
  LOGFONTW asked = wideFont(u"DejaVu Serif", -20, FW_BOLD);
  asked.lfItalic = 1;
  const HFONT font = CreateFontIndirectW(&asked);
  ASSERT_NE(font, nullptr);
  LOGFONTW wide{};
  ASSERT_EQ(GetObjectW(font, sizeof wide, &wide), static_cast<int>(sizeof wide));
  EXPECT_EQ(std::memcmp(&wide, &asked, sizeof wide), 0);
  LOGFONTA narrow{};
  ASSERT_EQ(GetObjectA(font, sizeof narrow, &narrow), static_cast<int>(sizeof narrow));
  EXPECT_STREQ(narrow.lfFaceName, "DejaVu Serif");
  EXPECT_EQ(narrow.lfWeight, FW_BOLD);
  EXPECT_EQ(DeleteObject(font), TRUE);
  EXPECT_EQ(GetObjectW(font, sizeof wide, &wide), 0);
  EXPECT_EQ(DeleteObject(font), FALSE);

  // A UTF-8 name of a family that is not installed: the closest match
  // stands in and the name reads back as given.
  LOGFONTA cyrillic{};
  std::strcpy(cyrillic.lfFaceName, "Шрифт без файла");
  const HFONT other = CreateFontIndirectA(&cyrillic);
  ASSERT_NE(other, nullptr);
  EXPECT_NE(other, font);
  ASSERT_GT(GetObjectW(other, sizeof wide, &wide), 0);
  EXPECT_EQ(std::u16string(wide.lfFaceName), u"Шрифт без файла");
  EXPECT_EQ(DeleteObject(other), TRUE);

  EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
  const LOGFONTW huge = wideFont(u"", -2'000'000'000);
  EXPECT_EQ(CreateFontIndirectW(&huge), nullptr);
}

TEST(FontHandles, StockGuiFontIsTheSansSerifMatchAndStays) {
  const auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  ASSERT_NE(stock, nullptr);
  EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), stock);
  const auto sans = plat::matchFont("", FW_NORMAL, false);
  ASSERT_TRUE(sans.has_value());
  LOGFONTA d{};
  ASSERT_GT(GetObjectA(stock, sizeof d, &d), 0);
  EXPECT_EQ(std::string(d.lfFaceName), sans->family);
  EXPECT_LT(d.lfHeight, 0);
  EXPECT_EQ(DeleteObject(stock), TRUE);
  EXPECT_GT(GetObjectA(stock, sizeof d, &d), 0);
}

TEST(FontHandles, FaceInUseOutlivesItsHandleAndUnknownHandlesFallBack) {
  plat::FontTable& table = plat::FontTable::instance();
  const auto stockFace = table.acquire(nullptr);
  ASSERT_NE(stockFace, nullptr);
  const LOGFONTW asked = wideFont(u"DejaVu Sans Mono", -30);
  const HFONT font = CreateFontIndirectW(&asked);
  const auto face = table.acquire(font);
  ASSERT_NE(face, nullptr);
  const int width = face->measure("0123456789").width;
  ASSERT_EQ(DeleteObject(font), TRUE);
  EXPECT_EQ(face->measure("0123456789").width, width);
  EXPECT_EQ(table.acquire(font), stockFace);
  EXPECT_EQ(table.acquire(reinterpret_cast<HFONT>(std::uintptr_t{0x1234})), stockFace);
}

TEST(FontHandles, CreatingAndDeletingWhileAnotherThreadMeasures) {
  plat::FontTable& table = plat::FontTable::instance();
  const LOGFONTW asked = wideFont(u"DejaVu Sans", -14);
  const HFONT shared = CreateFontIndirectW(&asked);
  const int expected = table.acquire(shared)->measure("Кадр №:0007").width;
  std::atomic<bool> done{false};
  std::atomic<int> mismatches{0};
  std::thread measurer([&] {
    while (!done)
      if (table.acquire(shared)->measure("Кадр №:0007").width != expected) ++mismatches;
  });
  for (int i = 0; i < 20; ++i) {
    const LOGFONTW other = wideFont(u"DejaVu Sans", -10 - i);
    const HFONT f = CreateFontIndirectW(&other);
    EXPECT_GT(table.acquire(f)->measure("x").width, 0);
    EXPECT_EQ(DeleteObject(f), TRUE);
  }
  done = true;
  measurer.join();
  EXPECT_EQ(mismatches, 0);
  DeleteObject(shared);
}

}  // namespace
