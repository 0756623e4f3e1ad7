// The real-estate income breakdown: one counted row per letting.
#include "engine/FieldText.h"
#include "platform/TaskMem.h"
#include "report/ReportWriter.h"
#include "report/ScheduleRows.h"

namespace pv14 {
namespace {

template <std::size_t N>
std::string Fitted(const char (&field)[N], std::int16_t max) {
  std::string text;
  ReportWriter::FitText(FieldText(field), text, max);
  return text;
}

// The contract period is kept as yyyymmdd and written as yyyymm.
std::string MonthText(std::int32_t date) { return ReportWriter::CountText(date / 100); }

ScheduleRow IncomeValues(const RealEstateIncomeRow& row) {
  return {{"KASIYA_KASITI", Fitted(row.LettingKind, 10)},
          {"YOUTO", Fitted(row.Use, 12)},
          {"SYOZAITI_JOUDAN", Fitted(row.Location, 30)},
          {"SYOZAITI_GEDAN", ""},
          {"JUUSYO_SIMEI_JOUDAN", Fitted(row.TenantAddress, 30)},
          {"JUUSYO_SIMEI_GEDAN", Fitted(row.TenantName, 30)},
          {"KEIYAKUKIKAN_FROM", MonthText(row.ContractFrom)},
          {"KEIYAKUKIKAN_TO", MonthText(row.ContractTo)},
          {"KASITUKEMENSEKI", AreaText(row.Area)},
          {"TINTAIRYOU_TUKIGAKU", ReportWriter::AmountText(row.MonthlyRent)},
          {"TINTAIRYOU_NENGAKU", ReportWriter::AmountText(row.AnnualRent)},
          {"REIKIN", ReportWriter::AmountText(row.GiftMoney)},
          {"KENRIKIN", ReportWriter::AmountText(row.KeyMoney)},
          {"KOUSINRYOU", ReportWriter::AmountText(row.RenewalFee)},
          {"MEIGISYOKANRYOU_SONOTA", ReportWriter::AmountText(row.NameChangeAndOtherFees)},
          {"HOSYOUKIN_SIKIKIN", ReportWriter::AmountText(row.Deposit)}};
}

}  // namespace

int ReportWriter::WriteRealEstateIncome(XmlOutput& out, int maxRows) {
  constexpr const char* kRowElement = "FUDOUSAN_UTIWAKE";
  const RealEstateIncomeRow* rows = data_.RealEstateSaveInfo.IncomeRows;
  // The engine ends the list with a -1 row; its allocation bounds the walk
  // when that row is missing.
  const std::size_t allocated = CoTaskMemGetSize(rows) / sizeof(RealEstateIncomeRow);
  std::string line;
  for (std::size_t i = 0; i < allocated && static_cast<long long>(i) < maxRows; ++i) {
    if (rows[i].RowKey == kIncomeRowsEnd) return 1;
    const int n = static_cast<int>(i) + 1;
    if (!OpenCountedRow(out, line, kRowElement, n)) return 0;
    if (!WriteValues(out, line, IncomeValues(rows[i]), kRowValueDepth)) return 0;
    if (!out.CloseTag(line, kRowElement, kSectionContentDepth)) return 0;
  }
  return 1;
}

}  // namespace pv14
