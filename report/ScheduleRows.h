// Pieces shared by the breakdown schedules: rows of named values, the
// counted row element, areas. A block the engine did not deliver is read
// through BlockOrZero, so its rows are written with empty values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "report/SectionSupport.h"
#include "report/XmlOutput.h"

namespace pv14 {

// The number of rows of a table member, e.g. SlotCount<decltype(StIPPAN_RENT::RentRows)>.
template <class Array>
inline constexpr int SlotCount = static_cast<int>(std::extent_v<Array>);

struct ScheduleValue {
  const char* Name;
  std::string Text;
};
using ScheduleRow = std::vector<ScheduleValue>;

// One element per value, in order, at depth. 1, or 0 at the first failed write.
int WriteValues(XmlOutput& out, std::string& line, const ScheduleRow& row, int depth);

// The start tag of row n: the element at depth 4 with COUNT = n.
int OpenCountedRow(XmlOutput& out, std::string& line, const char* element, int n);

// Rows 1..rows of a table that has `slots` rows. A wrapped row is its
// element with COUNT around values at depth 5; an unwrapped row's values
// stand at depth 4. A row beyond the table, or one that makeRow refuses
// (nullopt), fails right after its start tag: nothing past the table is read.
template <class MakeRow>
int WriteTableRows(XmlOutput& out, const char* element, bool wrapped, int rows, int slots,
                   MakeRow makeRow) {
  std::string line;
  for (int n = 1; n <= rows; ++n) {
    if (wrapped && !OpenCountedRow(out, line, element, n)) return 0;
    if (n > slots) return 0;
    std::optional<ScheduleRow> row = makeRow(static_cast<std::size_t>(n - 1));
    if (!row) return 0;
    if (!WriteValues(out, line, *row, wrapped ? kRowValueDepth : kSectionContentDepth)) return 0;
    if (wrapped && !out.CloseTag(line, element, kSectionContentDepth)) return 0;
  }
  return 1;
}

// An area in 1/10000 square metres with two decimals; empty for 0.
std::string AreaText(std::int64_t stored);

}  // namespace pv14
