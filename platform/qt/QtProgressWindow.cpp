#include "platform/qt/QtProgressWindow.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <algorithm>

#include "platform/qt/QtText.h"

namespace pv14::qt {
namespace {

// Long enough for a window system to map a new window, short enough that
// a screen that never answers does not hold the run.
constexpr int kExposeWaitMs = 2000;

}  // namespace

QtProgressWindow::QtProgressWindow(const DialogTemplate& dialog, WindowHandle handle,
                                   std::chrono::milliseconds frame)
    : window_(std::make_unique<QWidget>(nullptr, WindowFlagsOf(dialog))),
      controls_(*window_, dialog),
      handle_(handle),
      frame_(frame) {
  for (const auto& control : controls_.All()) {
    if (control.source->kind == ControlKind::kProgressBar) bars_[control.source->id] = Bar{};
  }
}

QtProgressWindow::~QtProgressWindow() = default;

void QtProgressWindow::Show() {
  window_->show();
  window_->raise();
  window_->activateWindow();
  // Paints reach the screen only once the window is mapped; wait for that
  // alone, leaving the user's input queued.
  QElapsedTimer waited;
  waited.start();
  while (!window_->testAttribute(Qt::WA_Mapped) && waited.elapsed() < kExposeWaitMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
  }
  dirty_ = true;
  Update();
}

void QtProgressWindow::SetCaption(const std::string& caption) {
  const QString title = ToDisplay(caption);
  window_->setWindowTitle(title);
  window_->setAccessibleName(title);
  captionChanged_ = dirty_ = true;
}

void QtProgressWindow::SetRange(int bar, int low, int high) {
  Bar& b = bars_[bar];
  b.low = low;
  b.high = std::max(low, high);
  b.pos = std::clamp(b.pos, b.low, b.high);
  Apply(bar);
}

void QtProgressWindow::SetStep(int, int) {}  // steps are always given as deltas

void QtProgressWindow::SetPos(int bar, int pos) {
  Bar& b = bars_[bar];
  b.pos = std::clamp(pos, b.low, b.high);
  Apply(bar);
}

void QtProgressWindow::DeltaPos(int bar, int delta) {
  Bar& b = bars_[bar];
  const long long moved = static_cast<long long>(b.pos) + delta;
  b.pos = static_cast<int>(std::clamp<long long>(moved, b.low, b.high));
  Apply(bar);
}

int QtProgressWindow::GetPos(int bar) const {
  auto it = bars_.find(bar);
  return it == bars_.end() ? 0 : it->second.pos;
}

void QtProgressWindow::Apply(int id) {
  const QtControls::Control* control = controls_.Find(id);
  auto* bar = control ? qobject_cast<QProgressBar*>(control->widget) : nullptr;
  if (bar == nullptr) return;
  const Bar& b = bars_[id];
  // Painted by Update, not by every step.
  bar->setUpdatesEnabled(false);
  bar->setRange(b.low, b.high);
  bar->setValue(b.pos);
  bar->setUpdatesEnabled(true);
  dirty_ = true;
}

void QtProgressWindow::BringToTop() {
  if (window_->isVisible()) window_->raise();
}

void QtProgressWindow::SetForeground() {
  if (window_->isVisible() && !window_->isActiveWindow()) window_->activateWindow();
}

void QtProgressWindow::Update() {
  if (!dirty_ || !window_->isVisible()) return;
  if (!captionChanged_ && sincePaint_.isValid() && sincePaint_.elapsed() < frame_.count()) return;
  window_->repaint();  // painted and on the screen before it returns
  sincePaint_.restart();
  dirty_ = captionChanged_ = false;
}

void QtProgressWindow::Close(int) { window_->hide(); }

}  // namespace pv14::qt
