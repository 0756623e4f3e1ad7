// How a console dialog shows itself: its controls in rows by their place in
// the template, top to bottom.
#include <algorithm>
#include <map>

#include "platform/console/ConsoleDialog.h"

namespace pv14 {
namespace {

bool Inside(const ControlTemplate& inner, const ControlTemplate& outer) {
  return inner.x > outer.x && inner.y > outer.y && inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

}  // namespace

void ConsoleDialog::Render() {
  std::vector<std::string> rows = Rows();
  if (shownRows_.size() != rows.size()) {
    io_.WriteLine("=== " + ConsoleIo::ToDisplay(dialog_.caption) + " ===");
    for (const std::string& row : rows) io_.WriteLine(row);
  } else {
    // What a command changed, in place of the whole dialog again.
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i] != shownRows_[i]) io_.WriteLine(rows[i]);
    }
  }
  shownRows_ = std::move(rows);
}

std::vector<std::string> ConsoleDialog::Rows() const {
  std::vector<std::string> lines;
  // Rows keyed by their top; controls within a row by their left edge.
  std::map<int, std::vector<const Control*>> rows;
  for (const auto& control : controls_) {
    if (control.source->kind != ControlKind::kProgressBar) {
      rows[control.source->y].push_back(&control);
    }
  }
  for (auto& [top, row] : rows) {
    std::stable_sort(row.begin(), row.end(), [](const Control* a, const Control* b) {
      return a->source->x < b->source->x;
    });
    const ControlTemplate& first = *row.front()->source;  // clang 14 captures no binding
    bool framed = std::any_of(controls_.begin(), controls_.end(), [&](const Control& box) {
      return box.source->kind == ControlKind::kGroupBox && Inside(first, *box.source);
    });
    std::string line(framed ? 4 : 2, ' ');
    for (std::size_t i = 0; i < row.size(); ++i) {
      const Control& control = *row[i];
      std::string text = ConsoleIo::ToDisplay(control.text);
      if (i > 0) line += "  ";
      switch (control.source->kind) {
        case ControlKind::kStatic:
          line += text;
          break;
        case ControlKind::kGroupBox:
          line += "-- " + text + " --";
          break;
        case ControlKind::kRadioButton:
          line += (control.checked ? "[x] " : "[ ] ") + text;
          break;
        case ControlKind::kEdit:
          line += "path: " + text;
          break;
        case ControlKind::kPushButton:
          line += "<" + text + ">";
          break;
        case ControlKind::kProgressBar:
          break;
      }
      if (!control.enabled) line += " (disabled)";
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace pv14
