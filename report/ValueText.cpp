// The value rules every schedule shares: amounts, counts, cut texts, areas.
#include <algorithm>

#include "platform/ShiftJis.h"
#include "report/FixedDecimal.h"
#include "report/ReportWriter.h"

namespace pv14 {

std::string ReportWriter::AmountText(std::int64_t stored) {
  const std::int64_t yen = stored / 10000;  // truncates toward zero
  return yen == 0 ? std::string() : std::to_string(yen);
}

std::string ReportWriter::CountText(std::int32_t value) {
  return value == 0 ? std::string() : std::to_string(value);
}

int ReportWriter::FitText(std::string_view text, std::string& out, std::int16_t max) {
  // A character whose second byte would be cut off is left out whole.
  const std::size_t limit = static_cast<std::size_t>(std::max<std::int16_t>(max, 0));
  out.assign(text.substr(0, sjis::FitLength(text, limit)));
  return 1;
}

void ReportWriter::FormatArea(std::int64_t value, std::string& out, std::size_t size,
                              int decimals) {
  // Four stored decimals are all there is; more cannot be asked of them.
  const int kept = std::clamp(decimals, 0, 4);
  FixedDecimal area = FixedDecimal::FromStored(value);
  if (!area.Round(FixedDecimal::kHalfUp, kept + 1)) return;
  std::string text = area.Text(kept);
  if (text.size() < size) out = std::move(text);
}

}  // namespace pv14
