#include "tests/fakes/FakeUi.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace pv14::testing {

// ---------------------------------------------------------------- bars

void BarRecord::SetRange(int newLow, int newHigh) {
  ++setRangeCalls;
  low = newLow;
  high = newHigh;
  pos = std::clamp(pos, low, std::max(low, high));
}

void BarRecord::SetPos(int newPos) {
  ++setPosCalls;
  pos = std::clamp(newPos, low, std::max(low, high));
}

void BarRecord::DeltaPos(int delta) {
  ++deltaPosCalls;
  totalDelta += delta;
  const int wanted = pos + delta;
  pos = std::clamp(wanted, low, std::max(low, high));
  if (pos != wanted) ++heldAtEnd;
}

BarRecord ProgressRecord::Bar(int id) const {
  auto it = bars.find(id);
  return it == bars.end() ? BarRecord{} : it->second;
}

// ------------------------------------------------------- progress window

namespace {

class RecordingProgressWindow : public ProgressWindow {
 public:
  RecordingProgressWindow(std::shared_ptr<ProgressRecord> record,
                          std::shared_ptr<std::vector<std::string>> events)
      : record_(std::move(record)), events_(std::move(events)) {}

  ~RecordingProgressWindow() override {
    record_->destroyed = true;
    events_->push_back("Progress::Destroy");
  }

  WindowHandle Handle() const override { return record_->handle; }
  void SetParent(WindowHandle parent) override {
    record_->parent = parent;
    events_->push_back("Progress::SetParent " + std::to_string(parent));
  }
  void Show() override {
    record_->visible = true;
    events_->push_back("Progress::Show");
  }
  void SetCaption(const std::string& caption) override {
    record_->caption = caption;
    record_->captions.push_back(caption);
  }
  void SetRange(int bar, int low, int high) override { record_->bars[bar].SetRange(low, high); }
  void SetStep(int bar, int step) override {
    BarRecord& state = record_->bars[bar];
    ++state.setStepCalls;
    state.step = step;
  }
  void SetPos(int bar, int pos) override { record_->bars[bar].SetPos(pos); }
  void DeltaPos(int bar, int delta) override { record_->bars[bar].DeltaPos(delta); }
  int GetPos(int bar) const override { return record_->Bar(bar).pos; }
  void BringToTop() override { ++record_->bringToTopCalls; }
  void SetForeground() override { ++record_->setForegroundCalls; }
  void Update() override { ++record_->updateCalls; }
  void Close(int result) override {
    ++record_->closeCalls;
    record_->closedWith = result;
    record_->visible = false;
    events_->push_back("Progress::Close " + std::to_string(result));
  }

 private:
  std::shared_ptr<ProgressRecord> record_;
  std::shared_ptr<std::vector<std::string>> events_;
};

bool OnlyOk(std::uint32_t style) { return (style & 0x0F) == kMbOk; }

}  // namespace

// ---------------------------------------------------------------- FakeUi

int FakeUi::MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                       std::uint32_t style) {
  int answer = kIdOk;
  if (!OnlyOk(style)) {
    answer = defaultAnswer;
    if (!answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    }
  }
  messageBoxes.push_back({owner, text, caption, style, answer});
  events.push_back("MessageBox " + text);
  return answer;
}

int FakeUi::RunModal(const DialogTemplate& dialog, WindowHandle parent, DialogLogic& logic) {
  ++modalRuns;
  modalTemplates.push_back(dialog.id);
  modalParents.push_back(parent);
  events.push_back("RunModal " + std::to_string(dialog.id));
  return runModal ? runModal(dialog, parent, logic) : -1;
}

std::optional<std::string> FakeUi::ShowFileDialog(const FileDialogRequest& request) {
  fileRequests.push_back(request);
  events.push_back("FileDialog");
  if (fileAnswers.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(fileAnswers.front());
  fileAnswers.pop_front();
  return answer;
}

std::unique_ptr<ProgressWindow> FakeUi::CreateProgressWindow(const DialogTemplate& dialog) {
  events.push_back("CreateProgressWindow " + std::to_string(dialog.id));
  if (failProgressWindow) return nullptr;
  auto record = std::make_shared<ProgressRecord>();
  record->templateId = dialog.id;
  record->handle = nextProgressHandle++;
  record->caption = dialog.caption;
  progressWindows.push_back(record);
  return std::make_unique<RecordingProgressWindow>(record, log_);
}

ProgressRecord& FakeUi::progress() {
  if (progressWindows.empty()) throw std::logic_error("no progress window was created");
  return *progressWindows.back();
}

bool FakeUi::IsKeyDown(int virtualKey) {
  keyQueries.push_back(virtualKey);
  return heldKeys.count(virtualKey) != 0;
}

void FakeUi::BeginWaitCursor() {
  ++waitCursorBegins;
  ++waitCursorDepth;
  events.push_back("BeginWaitCursor");
}

void FakeUi::EndWaitCursor() {
  ++waitCursorEnds;
  --waitCursorDepth;
  events.push_back("EndWaitCursor");
}

}  // namespace pv14::testing
