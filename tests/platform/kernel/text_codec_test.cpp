#include <gtest/gtest.h>

#include <string>

#include "platform/kernel/text_codec.h"

namespace {

TEST(TextCodec, RussianRoundTripsThroughCp1251) {
  const std::string text = "Нет свободных контроллеров";
  std::string ansi = plat::utf8ToCp1251(text);
  EXPECT_EQ(ansi.size(), 26u);  // one byte per character
  EXPECT_EQ(ansi.substr(0, 3), "\xCD\xE5\xF2");
  EXPECT_EQ(plat::cp1251ToUtf8(ansi), text);
  EXPECT_EQ(plat::cp1251ToUtf16(ansi), u"Нет свободных контроллеров");
  EXPECT_EQ(plat::utf16ToCp1251(u"Нет свободных контроллеров"), ansi);
}

TEST(TextCodec, CharactersOutsideCp1251BecomeOneQuestionMarkEach) {
  EXPECT_EQ(plat::utf8ToCp1251("aßb中c😀"), "a?b?c?");
  EXPECT_EQ(plat::utf16ToCp1251(u"x中😀y"), "x??y");
  // Ё and № are in the code page, so they must survive.
  EXPECT_EQ(plat::cp1251ToUtf8(plat::utf8ToCp1251("Ёж №5")), "Ёж №5");
}

TEST(TextCodec, InvalidInputIsReplacedNotFatal) {
  EXPECT_EQ(plat::utf8ToCp1251("a\xFF" "b"), "a?b");
  EXPECT_EQ(plat::utf8ToCp1251("a\xC3"), "a?");          // cut sequence at the end
  EXPECT_EQ(plat::utf8ToUtf16("a\xE2\x28\xA1z"), u"a?(?z");  // broken three-byte form
  EXPECT_EQ(plat::utf16ToUtf8(std::u16string(u"a") + char16_t(0xD800) + u"b"), "a?b");
  EXPECT_EQ(plat::cp1251ToUtf8("\x98"), "?");  // the one unassigned byte
  EXPECT_EQ(plat::utf8ToCp1251(""), "");
}

TEST(TextCodec, Utf8AndUtf16IncludingPairs) {
  std::string text = "Кадр 😀 end";
  std::u16string wide = plat::utf8ToUtf16(text);
  EXPECT_EQ(wide, u"Кадр 😀 end");
  EXPECT_EQ(plat::utf16ToUtf8(wide), text);
  std::string longText(5000, 'x');
  longText += "Я";
  EXPECT_EQ(plat::utf16ToUtf8(plat::utf8ToUtf16(longText)), longText);
}

TEST(TextCodec, LineEnds) {
  EXPECT_EQ(plat::toCrlf("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
  auto lines = plat::splitLines("one\r\ntwo\n\nthree");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "one");
  EXPECT_EQ(lines[1], "two");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "three");
  EXPECT_EQ(plat::splitLines("last\r\n").size(), 1u);
}

}  // namespace
