#include <optional>
#include <string>

#include "engine/FieldText.h"
#include "platform/ShiftJis.h"
#include "report/FixedDecimal.h"
#include "report/ReportWriter.h"
#include "report/SectionSupport.h"

namespace pv14 {
namespace {

// The income before the deduction is the closing balance of this row.
constexpr std::int32_t kIncomeRowPosition = 43;
constexpr std::int64_t kFullDeductionYen = 650000;
constexpr std::int64_t kReducedDeductionYen = 100000;
// "KANYUUDANTAIMEI" is copied into a 128-byte buffer.
constexpr std::size_t kAssociationNameBytes = 127;

// Whole yen, half away from zero; a loss counts as nothing. nullopt when the
// rounding overflows.
std::optional<FixedDecimal> NonNegativeYen(std::int64_t stored) {
  FixedDecimal value = FixedDecimal::FromStored(stored);
  if (value.IsNegative()) value = FixedDecimal();
  if (!value.Round(FixedDecimal::kHalfUp, 1)) return std::nullopt;
  return value;
}

}  // namespace

int ReportWriter::WriteBadDebtReserve(XmlOutput& out) {
  const std::int64_t* amounts = BlockOrZero(data_.GeneralSaveInfo.ReservesFamily).ReserveAmounts;
  std::string line;
  const struct {
    const char* Name;
    std::string Value;
  } elements[] = {
      {"KOBETU_KURIIREGAKU", AmountText(amounts[0])},
      {"IKKATU_KURIIREGOUKEIGAKU", AmountText(amounts[1])},
      {"IKKATU_KURIIRERITU", "1"},
      {"IKKATU_KURIIREGENDOGAKU", AmountText(amounts[2])},
      {"IKKATU_KURIIREGAKU", AmountText(amounts[3])},
  };
  for (const auto& element : elements) {
    if (!out.WriteElement(line, element.Name, element.Value, kSectionContentDepth)) return 0;
  }
  return 1;
}

// The fixed deduction is used up by the real-estate income first; what
// remains goes to the business income, capped at that income.
int ReportWriter::WriteBlueDeduction(XmlOutput& out, const StDATAINFO& /*record*/) {
  const StIPPAN_BASIC& basic = BlockOrZero(data_.GeneralSaveInfo.Basic);
  std::string line;

  std::optional<FixedDecimal> realEstate = NonNegativeYen(basic.RealEstateIncome);
  if (!realEstate) return 0;
  if (!out.WriteElement(line, "FUDOUSANSYOTOKU", realEstate->Text(0), kSectionContentDepth))
    return 0;

  SumRecord incomeRow{};
  if (!data_.FindRow(kIncomeRowPosition, CollectedData::kByPosition, &incomeRow)) return 0;
  std::optional<FixedDecimal> income = NonNegativeYen(incomeRow.ClosingBalance);
  if (!income) return 0;
  if (!out.WriteElement(line, "AOIROKOUJOMAESYOTOKU", income->Text(0), kSectionContentDepth))
    return 0;

  const char* selection = DeductionSelectionText(basic.DeductionSelection);
  if (selection == nullptr) return 0;
  if (!out.WriteElement(line, "AOIROKOUJO_SENTAKU", selection, kSectionContentDepth)) return 0;
  bool full = basic.DeductionSelection == 1;
  FixedDecimal limit = FixedDecimal::FromParts(full ? kFullDeductionYen : kReducedDeductionYen, 0);

  FixedDecimal used = limit < *realEstate ? limit : *realEstate;
  FixedDecimal deduction = limit - used;
  if (deduction > *income) deduction = *income;
  if (!deduction.Round(FixedDecimal::kHalfUp, 1)) return 0;
  std::string amount = deduction.Text(0);

  if (!out.WriteElement(line, "AOIROKOUJO_KOUJYOGAKU", full ? amount : "", kSectionContentDepth)) {
    return 0;
  }
  return out.WriteElement(line, "JOUKIIGAI_KOUJYOGAKU", full ? "" : amount, kSectionContentDepth);
}

int ReportWriter::WriteAssociationName(XmlOutput& out) {
  std::string_view name = FieldText(BlockOrZero(data_.GeneralSaveInfo.Basic).AssociationName);
  std::string line;
  return out.WriteElement(line, "KANYUUDANTAIMEI",
                          name.substr(0, sjis::FitLength(name, kAssociationNameBytes)),
                          kSectionContentDepth);
}

int ReportWriter::WriteLiabilityInterest(XmlOutput& out) {
  std::int64_t interest = BlockOrZero(data_.RealEstateSaveInfo.Basic).LiabilityInterest;
  std::string line;
  return out.WriteElement(line, "FUSAIRISIGAKU", AmountText(interest), kSectionContentDepth);
}

}  // namespace pv14
