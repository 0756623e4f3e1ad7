#include "report/ScheduleRows.h"

#include "report/ReportWriter.h"

namespace pv14 {
int WriteValues(XmlOutput& out, std::string& line, const ScheduleRow& row, int depth) {
  for (const ScheduleValue& value : row) {
    if (!out.WriteElement(line, value.Name, value.Text, depth)) return 0;
  }
  return 1;
}

int OpenCountedRow(XmlOutput& out, std::string& line, const char* element, int n) {
  const std::string count = std::to_string(n);
  return out.OpenTag(line, element, kSectionContentDepth, "COUNT", count.c_str());
}

std::string AreaText(std::int64_t stored) {
  constexpr std::size_t kFieldSize = 128;
  constexpr int kAreaDecimals = 2;
  std::string text;
  if (stored != 0) ReportWriter::FormatArea(stored, text, kFieldSize, kAreaDecimals);
  return text;
}

}  // namespace pv14
