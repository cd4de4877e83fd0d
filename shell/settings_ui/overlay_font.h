// The information text's font as the capture filter holds it (a font
// handle and a COLORREF) and as Qt shows it.
#pragma once
#include <QColor>
#include <QFont>

#include "platform/font/gdi_font.h"

namespace SettingsUi {

// The description behind `font`; the application's font when the handle
// describes nothing.
QFont FontFromHandle(HFONT font);
// A new handle for `font` (the caller owns it); null when no installed font
// can stand for it.
HFONT CreateFontHandle(const QFont& font);

QColor ColourFromRef(COLORREF colour);
COLORREF RefFromColour(const QColor& colour);

}  // namespace SettingsUi
