// Small helpers shared by the report's writers.
#pragma once

#include <cstdint>

namespace pv14 {

// Depths (counts of TABs) of the report's lines.
inline constexpr int kReportDepth = 0;          // REPORT
inline constexpr int kBlockDepth = 1;           // SYSTEM, BASIC, DATA
inline constexpr int kBlockElementDepth = 2;    // their elements; the income-kind element
inline constexpr int kSectionDepth = 3;         // a section of the DATA block
inline constexpr int kSectionContentDepth = 4;  // a section's contents and row elements
inline constexpr int kRowValueDepth = 5;        // the values inside a row element

// A saved-details block that the engine did not deliver reads as all zero:
// its amounts and texts are written empty.
template <class Block>
const Block& BlockOrZero(const Block* block) {
  static const Block zero{};
  return block != nullptr ? *block : zero;
}

// The value of "AOIROKOUJO_SENTAKU" for the deduction selection byte: "1"
// for the 650,000-yen deduction (1), "2" for the 100,000-yen one (0);
// nullptr for any other byte.
const char* DeductionSelectionText(std::uint8_t selection);

}  // namespace pv14
