#include "platform/console/ConsoleProgress.h"

namespace pv14 {
namespace {

constexpr int kBarWidth = 30;
}  // namespace

ConsoleProgressWindow::ConsoleProgressWindow(ConsoleIo& io, const DialogTemplate& dialog,
                                             WindowHandle handle, bool terminal)
    : io_(io),
      handle_(handle),
      terminal_(terminal),
      caption_(dialog.caption),
      bars_(dialog),
      mainBar_(dialog.CommandTarget(kShownBar).value_or(0)) {}

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
  bars_.SetRange(bar, low, high);
  Refresh();
}

void ConsoleProgressWindow::SetStep(int bar, int step) { bars_.SetStep(bar, step); }

void ConsoleProgressWindow::SetPos(int bar, int pos) {
  bars_.SetPos(bar, pos);
  Refresh();
}

void ConsoleProgressWindow::DeltaPos(int bar, int delta) {
  bars_.DeltaPos(bar, delta);
  Refresh();
}

int ConsoleProgressWindow::GetPos(int bar) const { return bars_.GetPos(bar); }

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
