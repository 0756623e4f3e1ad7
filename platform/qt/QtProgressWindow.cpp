#include "platform/qt/QtProgressWindow.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QProgressBar>
#include <algorithm>

#include "platform/qt/QtText.h"

namespace pv14::qt {
namespace {

// What the window system has sent, its map and expose among them, without
// waiting: no user input, no timer and no socket notifier runs under the
// run. (Qt's dispatcher still sends its own posted events.)
constexpr QEventLoop::ProcessEventsFlags kWindowSystemOnly = QEventLoop::ExcludeUserInputEvents |
                                                             QEventLoop::ExcludeSocketNotifiers |
                                                             QEventLoop::X11ExcludeTimers;

}  // namespace

QtProgressWindow::QtProgressWindow(const DialogTemplate& dialog, WindowHandle handle)
    : window_(std::make_unique<QWidget>(nullptr, WindowFlagsOf(dialog))),
      controls_(*window_, dialog),
      handle_(handle),
      bars_(dialog) {}

QtProgressWindow::~QtProgressWindow() = default;

void QtProgressWindow::Show() {
  // Centred on its screen, as the dialog before it was.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    window_->move(area.center() - QPoint(window_->width() / 2, window_->height() / 2));
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
  foregroundAsked_ = true;
  wholeWindow_ = true;
  Update();
}

void QtProgressWindow::SetCaption(const std::string& caption) {
  const QString title = ToDisplay(caption);
  window_->setWindowTitle(title);
  window_->setAccessibleName(title);
}

void QtProgressWindow::SetRange(int bar, int low, int high) {
  Apply(bar, bars_.SetRange(bar, low, high));
}

void QtProgressWindow::SetStep(int bar, int step) { bars_.SetStep(bar, step); }

void QtProgressWindow::SetPos(int bar, int pos) { Apply(bar, bars_.SetPos(bar, pos)); }

void QtProgressWindow::DeltaPos(int bar, int delta) { Apply(bar, bars_.DeltaPos(bar, delta)); }

int QtProgressWindow::GetPos(int bar) const { return bars_.GetPos(bar); }

void QtProgressWindow::Apply(int id, const ProgressBars::Bar& b) {
  const QtControls::Control* control = controls_.Find(id);
  auto* bar = control ? qobject_cast<QProgressBar*>(control->widget) : nullptr;
  if (bar == nullptr) return;
  // Painted by Update, not by every step.
  bar->setUpdatesEnabled(false);
  bar->setRange(b.low, b.high);
  bar->setValue(b.pos);
  bar->setUpdatesEnabled(true);
  if (std::find(changed_.begin(), changed_.end(), bar) == changed_.end()) changed_.push_back(bar);
}

void QtProgressWindow::BringToTop() {
  if (window_->isVisible()) window_->raise();
}

void QtProgressWindow::SetForeground() {
  if (!window_->isVisible() || foregroundAsked_ || window_->isActiveWindow()) return;
  window_->activateWindow();
  foregroundAsked_ = true;
}

void QtProgressWindow::Update() {
  if ((!wholeWindow_ && changed_.empty()) || !window_->isVisible()) return;
  // Qt paints only a window the display has mapped; until its answer has
  // come, each Update looks for it once and the change waits for the next.
  if (!window_->testAttribute(Qt::WA_Mapped)) {
    QCoreApplication::processEvents(kWindowSystemOnly);
    if (!window_->testAttribute(Qt::WA_Mapped)) return;
  }
  // Painted and on the screen before it returns. A step repaints only the
  // bars it moved: the window's own caption is drawn by the window manager.
  if (wholeWindow_) {
    window_->repaint();
  } else {
    for (QProgressBar* bar : changed_) bar->repaint();
  }
  wholeWindow_ = false;
  changed_.clear();
}

void QtProgressWindow::Close(int) {
  window_->hide();
  foregroundAsked_ = false;
}

}  // namespace pv14::qt
