#include "dialogs/ProgressDialog.h"

#include <string>

#include "resources/Templates.h"
#include "resources/Text.h"

namespace pv14 {
namespace {

constexpr int kMainRange = progress::kEnd;
constexpr int kActivityRange = 5;
// One more step than the activity bar holds: the last one shows it full.
constexpr int kActivitySteps = 6;

std::string PercentCaption(int tenths) {
  return SJ("集計中 ") + std::to_string(tenths / 10) + SJ("％");
}

}  // namespace

ProgressDialog::ProgressDialog(Ui& ui) : ui_(ui) {}

ProgressDialog::~ProgressDialog() = default;

bool ProgressDialog::Create() {
  if (!window_) window_ = ui_.CreateProgressWindow(ProgressDialogTemplate());
  return window_ != nullptr;
}

void ProgressDialog::SetParent(WindowHandle parent) {
  if (window_) window_->SetParent(parent);
}

void ProgressDialog::Show() {
  if (window_) window_->Show();
}

WindowHandle ProgressDialog::Handle() const { return window_ ? window_->Handle() : kNoWindow; }

void ProgressDialog::Start() {
  if (!window_) return;
  window_->SetRange(kMainBar, 0, kMainRange);
  window_->SetStep(kMainBar, 1);
  window_->SetPos(kMainBar, 0);
}

void ProgressDialog::Advance(std::int16_t from, std::int16_t to) {
  if (!window_) return;
  // Counted in int: a 16-bit counter would never pass a `to` of 32767.
  for (int v = from; v <= to; ++v) {
    if (v % 10 == 0) window_->SetCaption(PercentCaption(v));
    window_->DeltaPos(kMainBar, 1);
    Pump();
    window_->Update();
  }
}

void ProgressDialog::Pump() {
  if (!window_) return;
  window_->SetRange(kActivityBar, 0, kActivityRange);
  window_->SetStep(kActivityBar, 1);
  window_->SetPos(kActivityBar, 0);
  for (int i = 0; i < kActivitySteps; ++i) {
    window_->DeltaPos(kActivityBar, 1);
    window_->BringToTop();
    window_->SetForeground();
    window_->Update();
  }
}

void ProgressDialog::Close() {
  if (window_) window_->Close(1);
}

}  // namespace pv14
