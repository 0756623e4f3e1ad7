// Texts between the program (Shift_JIS) and Qt (UTF-16).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pv14::qt {

// For display; bytes that are not Shift_JIS show as U+FFFD.
QString ToDisplay(std::string_view sjis);
// Shift_JIS; a character it cannot hold becomes '?'.
std::string FromDisplay(const QString& text);
// A control's text without its accelerator marks: "参照(&D)..." -> "参照(D)...".
QString WithoutMnemonic(const QString& text);

}  // namespace pv14::qt
