// The progress bars of a template as the progress-bar control keeps them:
// a new bar runs 0..100 in steps of 10, the position always stays within
// the range, and a delta is held at the ends of it. Every face's progress
// window keeps its bars here and only renders them.
#pragma once

#include <algorithm>
#include <map>

#include "platform/DialogTemplate.h"

namespace pv14 {

class ProgressBars {
 public:
  struct Bar {
    int low = 0;
    int high = 100;
    int step = 10;
    int pos = 0;
  };

  explicit ProgressBars(const DialogTemplate& dialog) {
    for (const ControlTemplate& control : dialog.controls) {
      if (control.kind == ControlKind::kProgressBar) bars_[control.id] = Bar{};
    }
  }

  const Bar& SetRange(int id, int low, int high) {
    Bar& b = bars_[id];
    b.low = low;
    b.high = std::max(low, high);
    b.pos = std::clamp(b.pos, b.low, b.high);
    return b;
  }
  void SetStep(int id, int step) { bars_[id].step = step; }
  const Bar& SetPos(int id, int pos) {
    Bar& b = bars_[id];
    b.pos = std::clamp(pos, b.low, b.high);
    return b;
  }
  const Bar& DeltaPos(int id, int delta) {
    Bar& b = bars_[id];
    // Widened so a large delta cannot overflow before it is held to the range.
    const long long moved = static_cast<long long>(b.pos) + delta;
    b.pos = static_cast<int>(std::clamp<long long>(moved, b.low, b.high));
    return b;
  }
  int GetPos(int id) const {
    auto it = bars_.find(id);
    return it == bars_.end() ? 0 : it->second.pos;
  }
  // The position as a whole percentage of the range; 0 for an empty range.
  int Percent(int id) const {
    auto it = bars_.find(id);
    if (it == bars_.end() || it->second.high == it->second.low) return 0;
    const Bar& b = it->second;
    return static_cast<int>(100LL * (b.pos - b.low) / (static_cast<long long>(b.high) - b.low));
  }

 private:
  std::map<int, Bar> bars_;
};

}  // namespace pv14
