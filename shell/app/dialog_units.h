// Dialog units, the measure of the panels' templates, in pixels of a font:
// a quarter of its average character width across, an eighth of its line
// height down, so the panels grow with the font.
#pragma once
#include <QFontMetrics>

inline int DluX(const QFontMetrics& font, int units) { return units * font.averageCharWidth() / 4; }
inline int DluY(const QFontMetrics& font, int units) { return units * font.height() / 8; }
