// Message boxes on the desktop, with the Windows styles' icons and buttons.
#pragma once

#include <QString>
#include <cstdint>

class QWidget;

namespace pv14::qt {

// Shows a modal box over owner (none: on its own) and returns kIdOk,
// kIdCancel, kIdYes or kIdNo. Yes/No boxes have Yes as the default button;
// Esc answers No there. Each button's object name is its answer's id.
int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption,
                   std::uint32_t style);

}  // namespace pv14::qt
