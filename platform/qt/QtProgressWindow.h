// The progress window of a template on the desktop. The run works on the
// one thread without an event loop, so the window paints itself at once
// whenever it is asked to (Update), and its bars keep their positions within
// their ranges as common-controls bars do.
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <chrono>
#include <map>
#include <memory>

#include "platform/Ui.h"
#include "platform/qt/QtControls.h"

namespace pv14::qt {

class QtProgressWindow final : public ProgressWindow {
 public:
  // Repaints come at most once a frame, since faster ones could not be
  // seen, except that a new caption is always painted at once: the window
  // never shows the run more than one caption step behind.
  QtProgressWindow(const DialogTemplate& dialog, WindowHandle handle,
                   std::chrono::milliseconds frame = std::chrono::milliseconds(16));
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
  struct Bar {
    int low = 0;
    int high = 100;
    int pos = 0;
  };
  void Apply(int id);

  std::unique_ptr<QWidget> window_;
  QtControls controls_;
  WindowHandle handle_;
  std::chrono::milliseconds frame_;
  std::map<int, Bar> bars_;
  QElapsedTimer sincePaint_;
  bool dirty_ = true;
  bool captionChanged_ = false;
};

}  // namespace pv14::qt
