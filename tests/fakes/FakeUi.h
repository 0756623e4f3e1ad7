// A pv14::Ui for tests: records every message box, dialog and file dialog,
// answers from queues the test fills, and hands out progress windows whose
// state outlives them (the dialog owning a window may already be gone when
// the test looks).
//
// `events` keeps the order of what a user would notice:
//   "MessageBox <text>", "RunModal <template id>", "FileDialog",
//   "CreateProgressWindow <template id>", "Progress::SetParent <h>",
//   "Progress::Show", "Progress::Close <result>", "Progress::Destroy",
//   "BeginWaitCursor", "EndWaitCursor".
// The progress window's frequent calls (bars, captions, repaints) are only
// counted in its ProgressRecord.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Ui.h"
#include "resources/Templates.h"

namespace pv14::testing {

struct MessageBoxCall {
  WindowHandle owner;
  std::string text;
  std::string caption;
  std::uint32_t style;
  int answer;
};

// One progress bar as a common-controls progress bar keeps it: the position
// stays within the range, so a step beyond the end holds at the end.
struct BarRecord {
  int low = 0;  // a new bar's range is 0..100, step 10
  int high = 100;
  int step = 10;
  int pos = 0;
  int setRangeCalls = 0;
  int setStepCalls = 0;
  int setPosCalls = 0;
  int deltaPosCalls = 0;
  int heldAtEnd = 0;   // DeltaPos calls that the range cut short
  int totalDelta = 0;  // sum of every DeltaPos asked for, clamped or not

  void SetRange(int newLow, int newHigh);
  void SetPos(int newPos);
  void DeltaPos(int delta);
};

struct ProgressRecord {
  int templateId = 0;
  WindowHandle handle = kNoWindow;
  WindowHandle parent = kNoWindow;
  std::string caption;                // current; the template's at first
  std::vector<std::string> captions;  // every SetCaption, in order
  bool visible = false;
  bool destroyed = false;
  std::optional<int> closedWith;
  std::map<int, BarRecord> bars;  // by control id
  int bringToTopCalls = 0;
  int setForegroundCalls = 0;
  int updateCalls = 0;
  int closeCalls = 0;

  // The bar's state; a bar never touched has the defaults.
  BarRecord Bar(int id) const;
};

class FakeUi : public Ui {
  // First, so `events` can refer to it; progress windows share it.
  std::shared_ptr<std::vector<std::string>> log_ = std::make_shared<std::vector<std::string>>();

 public:
  FakeUi() = default;

  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 std::uint32_t style) override;
  int RunModal(const DialogTemplate& dialog, WindowHandle parent, DialogLogic& logic) override;
  std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override;
  std::unique_ptr<ProgressWindow> CreateProgressWindow(const DialogTemplate& dialog) override;
  bool IsKeyDown(int virtualKey) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  void SetExitStep(std::function<int()> step) override { exitStep = std::move(step); }

  // ---- message boxes: a box with only OK answers kIdOk; any other asks the
  // queue, then defaultAnswer.
  std::vector<MessageBoxCall> messageBoxes;
  std::deque<int> answers;
  int defaultAnswer = kIdYes;

  // ---- modal dialogs: runModal plays the user; without it the dialog
  // cannot be shown and the result is -1.
  std::function<int(const DialogTemplate&, WindowHandle, DialogLogic&)> runModal;
  int modalRuns = 0;
  std::vector<int> modalTemplates;
  std::vector<WindowHandle> modalParents;

  // ---- file dialog: answers in order; nullopt or an empty queue cancels.
  std::deque<std::optional<std::string>> fileAnswers;
  std::vector<FileDialogRequest> fileRequests;

  // ---- progress windows, oldest first.
  bool failProgressWindow = false;
  WindowHandle nextProgressHandle = 0x131;
  std::vector<std::shared_ptr<ProgressRecord>> progressWindows;
  // The last window created; throws when there is none.
  ProgressRecord& progress();

  // ---- keys and cursor
  std::set<int> heldKeys;
  std::vector<int> keyQueries;
  int waitCursorDepth = 0;
  int waitCursorBegins = 0;
  int waitCursorEnds = 0;

  // ---- the run's exit step, as the run last set it
  std::function<int()> exitStep;

  std::vector<std::string>& events = *log_;
};

}  // namespace pv14::testing
