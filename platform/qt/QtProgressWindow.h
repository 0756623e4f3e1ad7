// The progress window of a template on the desktop. The run works on the
// one thread without an event loop, so the window paints itself at once
// whenever it is asked to (Update), and its bars keep their positions within
// their ranges as common-controls bars do.
#pragma once

#include <QProgressBar>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/ProgressBars.h"
#include "platform/Ui.h"
#include "platform/qt/QtControls.h"

namespace pv14::qt {

class QtProgressWindow final : public ProgressWindow {
 public:
  // Every change is painted by the next Update, as the system's window is:
  // the activity bar cycles and ends full on the screen too.
  QtProgressWindow(const DialogTemplate& dialog, WindowHandle handle);
  ~QtProgressWindow() override;

  WindowHandle Handle() const override { return handle_; }
  // The caller's window belongs to another program: the window stays on
  // top of it by its own topmost style.
  void SetParent(WindowHandle) override {}
  void Show() override;
  void SetCaption(const std::string& caption) override;
  void SetRange(int bar, int low, int high) override;
  void SetStep(int bar, int step) override;
  void SetPos(int bar, int pos) override;
  void DeltaPos(int bar, int delta) override;
  int GetPos(int bar) const override;
  void BringToTop() override;
  void SetForeground() override;
  void Update() override;
  void Close(int result) override;

  QWidget& Window() { return *window_; }

 private:
  void Apply(int id, const ProgressBars::Bar& bar);

  std::unique_ptr<QWidget> window_;
  QtControls controls_;
  WindowHandle handle_;
  ProgressBars bars_;
  bool wholeWindow_ = true;
  std::vector<QProgressBar*> changed_;  // since the last Update
  // Asked once per showing: whether the window is active is only learnt by
  // handling events, which the run does not, and each request is a round
  // trip to the display.
  bool foregroundAsked_ = false;
};

}  // namespace pv14::qt
