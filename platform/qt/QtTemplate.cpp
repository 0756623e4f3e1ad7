#include "platform/qt/QtTemplate.h"

#include <QFontMetrics>
#include <QStringList>

#include "platform/qt/QtText.h"

namespace pv14::qt {
namespace {

// MulDiv as the dialog manager uses it: rounded, never truncated.
int MulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : -((-product + half) / denominator));
}

}  // namespace

QFont DialogFont(const QString& family, int pointSize) {
  QFont font;
  // The Windows name first, then Debian's fonts drawn to the same metrics.
  font.setFamilies(
      QStringList{family, "MS PGothic", "IPAPGothic", "IPA Pゴシック", "Noto Sans CJK JP"});
  font.setPointSize(pointSize);
  return font;
}

QFont TemplateFont(const DialogTemplate& dialog) {
  return DialogFont(ToDisplay(dialog.font), dialog.pointSize);
}

BaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters =
      metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect ToPixels(int x, int y, int width, int height, BaseUnits base) {
  return {MulDiv(x, base.x, 4), MulDiv(y, base.y, 8), MulDiv(width, base.x, 4),
          MulDiv(height, base.y, 8)};
}

QSize ClientSize(const DialogTemplate& dialog, BaseUnits base) {
  return ToPixels(0, 0, dialog.width, dialog.height, base).size();
}

Qt::WindowFlags WindowFlagsOf(const DialogTemplate& dialog) {
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
  if ((dialog.style & style::kCaption) == style::kCaption) flags |= Qt::WindowTitleHint;
  if (dialog.style & style::kSysMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  // A system-modal dialog stays above every other window.
  if (dialog.style & style::kSystemModal) flags |= Qt::WindowStaysOnTopHint;
  return flags;
}

}  // namespace pv14::qt
