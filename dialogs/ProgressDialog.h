// The modeless two-bar window shown while collecting and writing: the
// Progress of the collector and the report writer, on the screen.
#pragma once

#include <cstdint>
#include <memory>

#include "collect/Progress.h"
#include "platform/Ui.h"
#include "resources/ControlIds.h"

namespace pv14 {

class ProgressDialog : public Progress {
 public:
  static constexpr int kMainBar = ids::kMainBar;
  static constexpr int kActivityBar = ids::kActivityBar;

  explicit ProgressDialog(Ui& ui);
  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;
  ~ProgressDialog() override;

  // Modeless creation from template 131, hidden, without a parent.
  bool Create();
  void SetParent(WindowHandle parent);
  void Show();
  WindowHandle Handle() const;

  // Main bar 0..1000, step 1, at 0.
  void Start();
  // Steps the main bar once for each value from..to, both included, with the
  // percentage in the caption.
  void Advance(std::int16_t from, std::int16_t to) override;
  // One cycle of the activity bar; keeps the window in front and painted.
  void Pump() override;
  // Ends the dialog with result 1.
  void Close();

 private:
  Ui& ui_;
  std::unique_ptr<ProgressWindow> window_;
};

}  // namespace pv14
