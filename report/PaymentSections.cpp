// The interest, rent, borrowing-interest and fee schedules.
#include "engine/FieldText.h"
#include "report/ReportWriter.h"
#include "report/ScheduleRows.h"

namespace pv14 {
namespace {

constexpr std::uint8_t kKeyMoney = 0;
constexpr std::uint8_t kRenewalFee = 1;

ScheduleRow InterestValues(const InterestRow& row, const char* interestName) {
  return {{"JUUSYO_SIMEI_JOUDAN", std::string(FieldText(row.AddressNameUpper))},
          {"JUUSYO_SIMEI_GEDAN", std::string(FieldText(row.AddressNameLower))},
          {"KARIIREKIN_KINGAKU", ReportWriter::AmountText(row.Borrowed)},
          {interestName, ReportWriter::AmountText(row.Interest)},
          {"HITUYOUKEIHIGAKU", ReportWriter::AmountText(row.ExpenseShare)}};
}

ScheduleRow FeeValues(const FeeRow& row) {
  return {{"JUUSYO_SIMEI_JOUDAN", std::string(FieldText(row.AddressNameUpper))},
          {"JUUSYO_SIMEI_GEDAN", std::string(FieldText(row.AddressNameLower))},
          {"HOUSYUU_KINGAKU", ReportWriter::AmountText(row.Fee)},
          {"HITUYOUKEIHIGAKU", ReportWriter::AmountText(row.ExpenseShare)},
          {"GENSENZEIGAKU", ReportWriter::AmountText(row.WithheldTax)}};
}

// The lessor and the property on two lines each, as the general form has them.
ScheduleRow RentTextsTwoLines(const RentRow& row) {
  return {{"JUUSYO_SIMEI_JOUDAN", std::string(FieldText(row.AddressNameUpper))},
          {"JUUSYO_SIMEI_GEDAN", std::string(FieldText(row.AddressNameLower))},
          {"TINSYAKUBUKKEN_JOUDAN", std::string(FieldText(row.Property))},
          {"TINSYAKUBUKKEN_GEDAN", ""}};
}

// The real-estate blue form numbers four lines for each text.
ScheduleRow RentTextsNumbered(const RentRow& row) {
  return {{"JUUSYO_SIMEI_1", std::string(FieldText(row.AddressNameUpper))},
          {"JUUSYO_SIMEI_2", std::string(FieldText(row.AddressNameLower))},
          {"JUUSYO_SIMEI_3", ""},
          {"JUUSYO_SIMEI_4", ""},
          {"TINSYAKUBUKKEN_1", std::string(FieldText(row.Property))},
          {"TINSYAKUBUKKEN_2", ""},
          {"TINSYAKUBUKKEN_3", ""},
          {"TINSYAKUBUKKEN_4", ""}};
}

// The texts, then the fee pair (left out for a fee kind of neither sort),
// then the rent.
ScheduleRow RentValues(const RentRow& row, ScheduleRow texts) {
  const std::string fee = ReportWriter::AmountText(row.KeyOrRenewalFee);
  if (row.FeeKind == kKeyMoney) {
    texts.push_back({"KENRIKIN", fee});
    texts.push_back({"KOUSINRYOU", ""});
  } else if (row.FeeKind == kRenewalFee) {
    texts.push_back({"KENRIKIN", ""});
    texts.push_back({"KOUSINRYOU", fee});
  }
  texts.push_back({"TINSYAKURYOU", ReportWriter::AmountText(row.Rent)});
  texts.push_back({"HITUYOUKEIHIGAKU", ReportWriter::AmountText(row.ExpenseShare)});
  return texts;
}

}  // namespace

int ReportWriter::WriteInterest(XmlOutput& out, int rows) {
  const StIPPAN_INTEREST_FEES& block = BlockOrZero(data_.GeneralSaveInfo.InterestFees);
  const auto row = [&](std::size_t i) -> std::optional<ScheduleRow> {
    return InterestValues(block.InterestRows[i], "RISIWARIBIKIRYOU");
  };
  return WriteTableRows(out, "RISI_UTIWAKE", true, rows,
                        SlotCount<decltype(StIPPAN_INTEREST_FEES::InterestRows)>, row);
}

int ReportWriter::WriteBorrowingInterest(XmlOutput& out, int rows) {
  const StFUDOUSAN_BORROWING_FEES& block = BlockOrZero(data_.RealEstateSaveInfo.BorrowingFees);
  const auto row = [&](std::size_t i) -> std::optional<ScheduleRow> {
    return InterestValues(block.BorrowingRows[i], "KARIIREKINRISI");
  };
  return WriteTableRows(out, "KARIIRE_UTIWAKE", true, rows,
                        SlotCount<decltype(StFUDOUSAN_BORROWING_FEES::BorrowingRows)>, row);
}

int ReportWriter::WriteFeesGeneral(XmlOutput& out, int rows) {
  const StIPPAN_INTEREST_FEES& block = BlockOrZero(data_.GeneralSaveInfo.InterestFees);
  const auto row = [&](std::size_t i) -> std::optional<ScheduleRow> {
    return FeeValues(block.FeeRows[i]);
  };
  return WriteTableRows(out, "ZEIRISI_UTIWAKE", true, rows,
                        SlotCount<decltype(StIPPAN_INTEREST_FEES::FeeRows)>, row);
}

int ReportWriter::WriteFeesRealEstate(XmlOutput& out, int rows) {
  const StFUDOUSAN_BORROWING_FEES& block = BlockOrZero(data_.RealEstateSaveInfo.BorrowingFees);
  const auto row = [&](std::size_t i) -> std::optional<ScheduleRow> {
    return FeeValues(block.FeeRows[i]);
  };
  return WriteTableRows(out, "ZEIRISI_UTIWAKE", true, rows,
                        SlotCount<decltype(StFUDOUSAN_BORROWING_FEES::FeeRows)>, row);
}

int ReportWriter::WriteRentGeneral(XmlOutput& out, int rows) {
  const StIPPAN_RENT& block = BlockOrZero(data_.GeneralSaveInfo.Rent);
  const auto row = [&](std::size_t i) -> std::optional<ScheduleRow> {
    return RentValues(block.RentRows[i], RentTextsTwoLines(block.RentRows[i]));
  };
  return WriteTableRows(out, "TIDAI_UTIWAKE", true, rows,
                        SlotCount<decltype(StIPPAN_RENT::RentRows)>, row);
}

int ReportWriter::WriteRentRealEstate(XmlOutput& out, const StDATAINFO& record, int rows) {
  const StFUDOUSAN_RENT& block = BlockOrZero(data_.RealEstateSaveInfo.Rent);
  const auto row = [&](std::size_t i) -> std::optional<ScheduleRow> {
    const RentRow& rent = block.RentRows[i];
    if (record.ReturnKind == kBlueReturn) return RentValues(rent, RentTextsNumbered(rent));
    if (record.ReturnKind == kWhiteReturn) return RentValues(rent, RentTextsTwoLines(rent));
    return std::nullopt;
  };
  return WriteTableRows(out, "TIDAI_UTIWAKE", true, rows,
                        SlotCount<decltype(StFUDOUSAN_RENT::RentRows)>, row);
}

}  // namespace pv14
