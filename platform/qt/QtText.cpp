#include "platform/qt/QtText.h"

#include <limits>

#include "platform/Encoding.h"
#include "platform/TypedText.h"

namespace pv14::qt {

QString ToDisplay(std::string_view sjis) { return QString::fromStdString(Cp932ToUtf8Lossy(sjis)); }

std::string FromDisplay(const QString& text) {
  return TypeIntoEdit(text.toStdString(), std::numeric_limits<std::size_t>::max());
}

QString WithoutMnemonic(const QString& text) {
  QString plain;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;  // "&&" keeps one '&'
    plain += text[i];
  }
  return plain;
}

}  // namespace pv14::qt
