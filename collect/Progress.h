// What the collector and the report writer say about their progress: the
// main bar's advance over the run's milestones and the activity bar's pump.
// ProgressDialog shows it; null means nothing is shown.
#pragma once

#include <cstdint>

namespace pv14 {

// The main bar's milestones, in tenths of a percent.
namespace progress {
inline constexpr std::int16_t kCollectStart = 100;       // the collector begins a sequence
inline constexpr std::int16_t kCollectReady = 300;       // its engine object is ready
inline constexpr std::int16_t kCollectListing = 400;     // its lists are being read
inline constexpr std::int16_t kCollectEnd = 500;         // the sequence's lists are read
inline constexpr std::int16_t kWriteBase = kCollectEnd;  // the report writer starts here
inline constexpr std::int16_t kSystemBlock = 100;        // written: base + this after SYSTEM
inline constexpr std::int16_t kBasicBlock = 200;         // written: base + this after BASIC
inline constexpr std::int16_t kEnd = 1000;               // the end of the run, and of the bar
}  // namespace progress

class Progress {
 public:
  virtual ~Progress() = default;
  // Steps the main bar once for each value from..to, both included; nothing
  // (not even a pump) when from is greater than to.
  virtual void Advance(std::int16_t from, std::int16_t to) = 0;
  // One cycle of the activity bar, showing that work goes on.
  virtual void Pump() = 0;
};

}  // namespace pv14
