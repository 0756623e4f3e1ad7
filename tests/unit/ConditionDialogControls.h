// A control set built from a dialog template that records what the logic
// does to it: checks, enabled states, texts, limits, focus, selections and
// the results given to EndDialog.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Ui.h"
#include "resources/Templates.h"

namespace pv14::testing {

class RecordingControls : public DialogControls {
 public:
  struct Control {
    ControlKind kind;
    bool checked = false;
    bool enabled = true;
    std::string text;
    std::size_t limit = 0;  // 0: none set
  };

  static constexpr WindowHandle kHandle = 0x130;

  explicit RecordingControls(const DialogTemplate& dialog = ConditionDialogTemplate()) {
    for (const ControlTemplate& c : dialog.controls) {
      controls[c.id] = Control{c.kind, false, true, c.text, 0};
    }
  }

  // Every id must be one of the template's: .at throws for any other.
  WindowHandle Handle() const override { return kHandle; }
  bool IsChecked(int id) const override { return controls.at(id).checked; }
  void SetCheck(int id, bool checked) override { controls.at(id).checked = checked; }
  bool IsEnabled(int id) const override { return controls.at(id).enabled; }
  void Enable(int id, bool enabled) override { controls.at(id).enabled = enabled; }
  std::string GetText(int id) const override { return controls.at(id).text; }
  void SetText(int id, const std::string& text) override { controls.at(id).text = text; }
  void LimitText(int id, std::size_t bytes) override { controls.at(id).limit = bytes; }
  void SetFocus(int id) override {
    controls.at(id);
    focus = id;
  }
  int GetFocus() const override { return focus; }
  void SelectAll(int id) override { selectedAll.push_back(id); }
  void EndDialog(int result) override { results.push_back(result); }

  // The user's side: an automatic radio button unchecks the others.
  void ClickRadio(int id) {
    for (auto& [other, control] : controls) {
      if (control.kind == ControlKind::kRadioButton) control.checked = other == id;
    }
  }
  std::set<int> Checked() const {
    std::set<int> ids;
    for (const auto& [id, control] : controls) {
      if (control.checked) ids.insert(id);
    }
    return ids;
  }
  std::set<int> Disabled() const {
    std::set<int> ids;
    for (const auto& [id, control] : controls) {
      if (!control.enabled) ids.insert(id);
    }
    return ids;
  }
  bool Ended() const { return !results.empty(); }

  std::map<int, Control> controls;
  int focus = 0;
  std::vector<int> selectedAll;
  std::vector<int> results;  // every EndDialog, in order
};

}  // namespace pv14::testing
