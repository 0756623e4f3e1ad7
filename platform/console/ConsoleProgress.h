// The progress window on the console. On a terminal it redraws one status
// line (caption, bar, percentage of the main bar); elsewhere (a log) it
// writes a changed caption at most once per tenth of the main bar.
#pragma once

#include <string>
#include <string_view>

#include "platform/DialogTemplate.h"
#include "platform/ProgressBars.h"
#include "platform/Ui.h"
#include "platform/console/ConsoleIo.h"

namespace pv14 {

class ConsoleProgressWindow : public ProgressWindow {
 public:
  ConsoleProgressWindow(ConsoleIo& io, const DialogTemplate& dialog, WindowHandle handle,
                        bool terminal);
  ~ConsoleProgressWindow() override;

  WindowHandle Handle() const override { return handle_; }
  void SetParent(WindowHandle) override {}
  void Show() override;
  void SetCaption(const std::string& caption) override;
  void SetRange(int bar, int low, int high) override;
  void SetStep(int bar, int step) override;
  void SetPos(int bar, int pos) override;
  void DeltaPos(int bar, int delta) override;
  int GetPos(int bar) const override;
  void BringToTop() override {}
  void SetForeground() override {}
  void Update() override {}
  void Close(int result) override;

  // The word by which a template binds the bar the console shows: the main
  // bar, wherever the template lists it.
  static constexpr std::string_view kShownBar = "percent";

  // The main bar's position as a whole percentage of its range.
  int Percent() const { return bars_.Percent(mainBar_); }

 private:
  void Refresh();

  ConsoleIo& io_;
  WindowHandle handle_;
  bool terminal_;
  std::string caption_;  // Shift_JIS
  ProgressBars bars_;
  int mainBar_;
  bool visible_ = false;
  std::string shown_;  // what was last written
  // Elsewhere: the main bar's tenth when the caption was set, and when the
  // caption last written was.
  int captionTenth_ = 0;
  int shownTenth_ = 0;
  // What the last refresh looked at, and the caption converted for display.
  std::string refreshedCaption_;
  std::string displayedCaption_;
  int refreshedTenth_ = -1;
  int refreshedPercent_ = -1;
};

}  // namespace pv14
