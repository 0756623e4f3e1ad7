#include <array>
#include <string>
#include <string_view>

#include "engine/FieldText.h"
#include "platform/ShiftJis.h"
#include "report/ReportWriter.h"
#include "report/SectionSupport.h"
#include "resources/Text.h"

namespace pv14 {
namespace {

// The row of a code as the writers see it: all zero when the data lacks it.
SumRecord FindByCode(const CollectedData& data, std::int32_t code) {
  SumRecord row{};
  data.FindRow(code, CollectedData::kByCode, &row);
  return row;
}

std::string CleanedName(const SumRecord& row) {
  std::string cleaned;
  ReportWriter::CleanItemName(FieldText(row.ItemName), cleaned);
  return cleaned;
}

// Blanks and brackets around account names, and the manufacturing mark,
// tried in this order at every character. Trying them inside a double-byte
// character would cut it: the second byte of メ and an "n" read as "］".
const std::array<std::string, 11>& RemovalStrings() {
  static const std::array<std::string, 11> strings = {
      SJ(" "),  SJ("　"), SJ("【"), SJ("】"), SJ("《"),   SJ("》"),
      SJ("（"), SJ("）"), SJ("［"), SJ("］"), SJ("(製)"),
  };
  return strings;
}

}  // namespace

int ReportWriter::CleanItemName(std::string_view source, std::string& destination) {
  if (source.empty()) return 0;
  std::size_t pos = 0;
  while (pos < source.size()) {
    std::string_view rest = source.substr(pos);
    std::size_t skipped = 0;
    for (const std::string& removal : RemovalStrings()) {
      if (rest.starts_with(removal)) {
        skipped = removal.size();
        break;
      }
    }
    if (skipped == 0) {
      skipped = sjis::CharLength(source, pos);
      destination.append(source.substr(pos, skipped));
    }
    pos += skipped;
  }
  return 1;
}

int ReportWriter::WriteStatementItems(XmlOutput& out, std::span<const ItemTableRow> table) {
  std::string line;
  for (const ItemTableRow& item : table) {
    SumRecord row = FindByCode(data_, item.Code);
    if (item.Spare == 1) {
      std::string name = std::string(item.ElementName) + "_KAMOKU";
      if (!out.WriteElement(line, name.c_str(), CleanedName(row), kSectionContentDepth)) return 0;
    }
    if (!out.WriteElement(line, item.ElementName, AmountText(row.ClosingBalance),
                          kSectionContentDepth)) {
      return 0;
    }
  }
  return 1;
}

int ReportWriter::WriteBalanceSheet(XmlOutput& out, std::span<const BalanceTableRow> table) {
  std::string line;
  SumRecord row{};
  bool lookedUp = false;
  std::int32_t previousCode = 0;
  for (const BalanceTableRow& entry : table) {
    // The rows of one account follow each other and share one lookup.
    if (!lookedUp || entry.Code != previousCode) {
      row = FindByCode(data_, entry.Code);
      previousCode = entry.Code;
      lookedUp = true;
    }
    std::string value;
    switch (entry.Kind) {
      case BalanceTableRow::kAccountName:
        value = CleanedName(row);
        break;
      case BalanceTableRow::kOpening:
        value = AmountText(row.OpeningBalance);
        break;
      default:
        value = AmountText(row.ClosingBalance);
        break;
    }
    if (!out.WriteElement(line, entry.ElementName, value, kSectionContentDepth)) return 0;
  }
  return 1;
}

int ReportWriter::WriteMonthlySales(XmlOutput& out) {
  const StAOSUMINFO_TSUKIBETSU& totals = data_.MonthlyTotals;
  std::string line;
  auto write = [&](const std::string& name, std::int64_t amount) {
    return out.WriteElement(line, name.c_str(), AmountText(amount), kSectionContentDepth) == 1;
  };
  for (int month = 1; month <= 12; ++month) {
    if (!write("URIAGEKINGAKU" + std::to_string(month), totals.Sales[month - 1])) return 0;
  }
  // The amount that follows miscellaneous income is not part of the report.
  if (!write("KAJISYOUHI", totals.HouseholdConsumption)) return 0;
  if (!write("ZATUSYUNYU", totals.MiscellaneousIncome)) return 0;
  for (int month = 1; month <= 12; ++month) {
    if (!write("SIIREKINGAKU" + std::to_string(month), totals.Purchases[month - 1])) return 0;
  }
  return 1;
}

}  // namespace pv14
