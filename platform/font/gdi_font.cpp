#include "platform/font/gdi_font.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "platform/font/font_table.h"
#include "platform/kernel/text_codec.h"

namespace {

LOGFONTW toWide(const LOGFONTA& a) {
  LOGFONTW w{};
  std::memcpy(&w, &a, offsetof(LOGFONTA, lfFaceName));
  const char* end = std::find(a.lfFaceName, a.lfFaceName + LF_FACESIZE, '\0');
  const std::u16string name = plat::utf8ToUtf16(std::string_view(a.lfFaceName, static_cast<std::size_t>(end - a.lfFaceName)));
  std::copy_n(name.begin(), std::min<std::size_t>(name.size(), LF_FACESIZE - 1), w.lfFaceName);
  return w;
}

LOGFONTA toNarrow(const LOGFONTW& w) {
  LOGFONTA a{};
  std::memcpy(&a, &w, offsetof(LOGFONTW, lfFaceName));
  const WCHAR* end = std::find(w.lfFaceName, w.lfFaceName + LF_FACESIZE, u'\0');
  const std::string name = plat::utf16ToUtf8(std::u16string_view(w.lfFaceName, static_cast<std::size_t>(end - w.lfFaceName)));
  // Cut at a character boundary so the name stays valid UTF-8.
  std::size_t length = std::min<std::size_t>(name.size(), LF_FACESIZE - 1);
  while (length > 0 && length < name.size() && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
  std::memcpy(a.lfFaceName, name.data(), length);
  return a;
}

template <class Description>
int copyOut(const Description& d, int size, void* out) {
  constexpr int kSize = static_cast<int>(sizeof(Description));
  if (!out) return kSize;
  if (size <= 0) return 0;
  const int n = std::min(size, kSize);
  std::memcpy(out, &d, static_cast<std::size_t>(n));
  return n;
}

}  // namespace

HFONT CreateFontIndirectW(const LOGFONTW* description) {
  if (!description) return nullptr;
  return plat::FontTable::instance().create(*description);
}

HFONT CreateFontIndirectA(const LOGFONTA* description) {
  if (!description) return nullptr;
  return plat::FontTable::instance().create(toWide(*description));
}

BOOL DeleteObject(HGDIOBJ object) {
  return plat::FontTable::instance().remove(static_cast<HFONT>(object)) ? TRUE : FALSE;
}

int GetObjectW(HGDIOBJ object, int size, void* out) {
  const auto d = plat::FontTable::instance().description(static_cast<HFONT>(object));
  return d ? copyOut(*d, size, out) : 0;
}

int GetObjectA(HGDIOBJ object, int size, void* out) {
  const auto d = plat::FontTable::instance().description(static_cast<HFONT>(object));
  return d ? copyOut(toNarrow(*d), size, out) : 0;
}

HGDIOBJ GetStockObject(int index) {
  if (index != DEFAULT_GUI_FONT) return nullptr;
  return plat::FontTable::instance().stockFont();
}
