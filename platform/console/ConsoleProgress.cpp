#include "platform/console/ConsoleProgress.h"

#include <algorithm>

namespace pv14 {
namespace {

constexpr int kBarWidth = 30;
constexpr int kNoBar = 0;

// The first bar of the template is the main one, whose percentage is shown.
int FirstProgressBar(const DialogTemplate& dialog) {
  for (const auto& control : dialog.controls) {
    if (control.kind == ControlKind::kProgressBar) return control.id;
  }
  return kNoBar;
}

}  // namespace

ConsoleProgressWindow::ConsoleProgressWindow(ConsoleIo& io, const DialogTemplate& dialog,
                                             WindowHandle handle, bool terminal)
    : io_(io),
      handle_(handle),
      terminal_(terminal),
      mainBar_(FirstProgressBar(dialog)),
      caption_(dialog.caption) {
  for (const auto& control : dialog.controls) {
    if (control.kind == ControlKind::kProgressBar) bars_[control.id] = Bar{};
  }
}

ConsoleProgressWindow::~ConsoleProgressWindow() {
  if (visible_ && terminal_) io_.EndStatus();
}

void ConsoleProgressWindow::Show() {
  visible_ = true;
  Refresh();
}

void ConsoleProgressWindow::SetCaption(const std::string& caption) {
  caption_ = caption;
  captionTenth_ = Percent() / 10;
  Refresh();
}

void ConsoleProgressWindow::SetRange(int bar, int low, int high) {
  Bar& b = BarOf(bar);
  b.low = low;
  b.high = std::max(low, high);
  b.pos = std::clamp(b.pos, b.low, b.high);
  Refresh();
}

void ConsoleProgressWindow::SetStep(int bar, int step) { BarOf(bar).step = step; }

void ConsoleProgressWindow::SetPos(int bar, int pos) {
  Bar& b = BarOf(bar);
  b.pos = std::clamp(pos, b.low, b.high);
  Refresh();
}

void ConsoleProgressWindow::DeltaPos(int bar, int delta) {
  Bar& b = BarOf(bar);
  // Widened so a large delta cannot overflow before it is held to the range.
  long long moved = static_cast<long long>(b.pos) + delta;
  b.pos = static_cast<int>(std::clamp<long long>(moved, b.low, b.high));
  Refresh();
}

int ConsoleProgressWindow::GetPos(int bar) const {
  auto it = bars_.find(bar);
  return it == bars_.end() ? 0 : it->second.pos;
}

int ConsoleProgressWindow::Percent() const {
  auto it = bars_.find(mainBar_);
  if (it == bars_.end() || it->second.high == it->second.low) return 0;
  const Bar& b = it->second;
  return static_cast<int>(100LL * (b.pos - b.low) / (static_cast<long long>(b.high) - b.low));
}

void ConsoleProgressWindow::Close(int) {
  if (visible_ && terminal_) io_.EndStatus();
  visible_ = false;
}

void ConsoleProgressWindow::Refresh() {
  if (!visible_) return;
  // The activity bar moves many times a step and shows nowhere here: only a
  // new caption, tenth or percentage of the main bar can change the output.
  const int percent = Percent();
  if (caption_ == refreshedCaption_ && captionTenth_ == refreshedTenth_ &&
      percent == refreshedPercent_ && (!terminal_ || io_.StatusOpen())) {
    return;
  }
  if (caption_ != refreshedCaption_) {
    refreshedCaption_ = caption_;
    displayedCaption_ = ConsoleIo::ToDisplay(caption_);
  }
  refreshedTenth_ = captionTenth_;
  refreshedPercent_ = percent;
  const std::string& caption = displayedCaption_;
  if (!terminal_) {
    // A log gets a caption only when it was set in another tenth of the main
    // bar than the last one written: ten lines for a whole run, not one per
    // percent.
    if (caption != shown_ && (shown_.empty() || captionTenth_ != shownTenth_)) {
      io_.WriteLine(caption);
      shown_ = caption;
      shownTenth_ = captionTenth_;
    }
    return;
  }
  int filled = percent * kBarWidth / 100;
  std::string line = caption + " [" + std::string(filled, '#') +
                     std::string(kBarWidth - filled, '-') + "] " + std::to_string(percent) + "%";
  // Redrawn also when another text ended the status line meanwhile.
  if (line != shown_ || !io_.StatusOpen()) io_.WriteStatus(line);
  shown_ = line;
}

}  // namespace pv14
