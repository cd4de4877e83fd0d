#include "shell/settings_ui/overlay_font.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>

namespace SettingsUi {

QFont FontFromHandle(HFONT font) {
  LOGFONTW description{};
  QFont result;
  if (!font || GetObjectW(font, sizeof description, &description) != static_cast<int>(sizeof description))
    return result;
  const auto* face = description.lfFaceName;
  const auto length = std::find(face, face + LF_FACESIZE, u'\0') - face;
  if (length > 0) result.setFamily(QString::fromUtf16(face, length));
  if (description.lfHeight < 0) {
    result.setPixelSize(-description.lfHeight);
  } else if (description.lfHeight > 0) {
    // A cell height: the characters are that much smaller.
    result.setPixelSize(description.lfHeight);
    const int cell = QFontMetrics(result).height();
    if (cell > 0) result.setPixelSize(std::max(1, static_cast<int>(description.lfHeight) * description.lfHeight / cell));
  }
  if (description.lfWeight != FW_DONTCARE)
    result.setWeight(static_cast<QFont::Weight>(std::clamp(static_cast<int>(description.lfWeight), 1, 1000)));
  result.setItalic(description.lfItalic != 0);
  result.setUnderline(description.lfUnderline != 0);
  result.setStrikeOut(description.lfStrikeOut != 0);
  return result;
}

HFONT CreateFontHandle(const QFont& font) {
  LOGFONTW description{};
  description.lfHeight = -QFontInfo(font).pixelSize();
  description.lfWeight = font.weight();
  description.lfItalic = font.italic() ? 1 : 0;
  description.lfUnderline = font.underline() ? 1 : 0;
  description.lfStrikeOut = font.strikeOut() ? 1 : 0;
  const QString family = font.family().left(LF_FACESIZE - 1);
  std::copy_n(family.utf16(), family.size(), description.lfFaceName);
  return CreateFontIndirectW(&description);
}

QColor ColourFromRef(COLORREF colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

COLORREF RefFromColour(const QColor& colour) {
  return RGB(static_cast<unsigned>(colour.red()), static_cast<unsigned>(colour.green()),
             static_cast<unsigned>(colour.blue()));
}

}  // namespace SettingsUi
