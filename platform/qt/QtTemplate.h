// How the Qt face reads a dialog template: its font, its window flags, and
// dialog units turned into pixels as the Windows dialog manager does it.
// The one place of the face that includes the template types.
#pragma once

#include <QFont>
#include <QRect>
#include <Qt>

#include "platform/DialogTemplate.h"

namespace pv14::qt {

// A dialog font's base units: the average width of its Latin letters and
// its height, in pixels.
struct BaseUnits {
  int x = 0;
  int y = 0;
};

// A dialog font of that family, with metric-close fallbacks where it is not
// installed (IPA P Gothic, Noto Sans CJK JP).
QFont DialogFont(const QString& family, int pointSize);
// The template's font, the same way.
QFont TemplateFont(const DialogTemplate& dialog);
// Averaged over A-Z and a-z, rounded, as the dialog manager measures it.
BaseUnits BaseUnitsOf(const QFont& font);
// MulDiv(x, base.x, 4) and MulDiv(y, base.y, 8), each rounded half away from zero.
QRect ToPixels(int x, int y, int width, int height, BaseUnits base);
// The client area of the dialog in pixels.
QSize ClientSize(const DialogTemplate& dialog, BaseUnits base);
// The window decorations the template's styles ask for.
Qt::WindowFlags WindowFlagsOf(const DialogTemplate& dialog);

}  // namespace pv14::qt
