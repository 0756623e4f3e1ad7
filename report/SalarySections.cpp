// The salary and family-employee schedules of both forms.
#include "engine/FieldText.h"
#include "report/ReportWriter.h"
#include "report/ScheduleRows.h"

namespace pv14 {
namespace {

constexpr const char* kSalaryRow = "KYUURYOU_UTIWAKE";
constexpr const char* kFamilyRow = "SENJUUSYA_UTIWAKE";

ScheduleRow SalaryValues(const SalarySlot& slot) {
  return {{"SIMEI", std::string(FieldText(slot.Name))},
          {"NENREI", ReportWriter::CountText(slot.Age)},
          {"JUUJITUKISUU", ReportWriter::CountText(slot.Months)},
          {"KYUURYOU", ReportWriter::AmountText(slot.Salary)},
          {"SYOUYO", ReportWriter::AmountText(slot.Bonus)},
          {"GENSENZEIGAKU", ReportWriter::AmountText(slot.WithheldTax)}};
}

// The totals of all other employees, written without a row element.
int WriteOthers(XmlOutput& out, std::int32_t headCount, const SalarySlot& slot) {
  std::string line;
  const ScheduleRow others = {{"SONOTA_NINBUN", ReportWriter::CountText(headCount)},
                              {"SONOTA_JUUJITUKISUU", ReportWriter::CountText(slot.Months)},
                              {"SONOTA_KYUURYOU", ReportWriter::AmountText(slot.Salary)},
                              {"SONOTA_SYOUYO", ReportWriter::AmountText(slot.Bonus)},
                              {"SONOTA_GENSENZEIGAKU", ReportWriter::AmountText(slot.WithheldTax)}};
  return WriteValues(out, line, others, kSectionContentDepth);
}

// A blue return names the relationship before the age and lists the
// amounts; a white return's schedule has the age first and no amounts.
ScheduleRow FamilyValues(const FamilyEmployeeRow& row, const StDATAINFO& record) {
  const bool blue = record.ReturnKind == kBlueReturn;
  ScheduleValue age{"NENREI", ReportWriter::CountText(row.Age)};
  ScheduleValue relationship{"ZOKUGARA", std::string(FieldText(row.Relationship))};
  ScheduleRow values = {{"SIMEI", std::string(FieldText(row.Name))}};
  values.push_back(blue ? relationship : age);
  values.push_back(blue ? age : relationship);
  values.push_back({"JUUJITUKISUU", ReportWriter::CountText(row.Months)});
  if (blue) {
    values.push_back({"KYUURYOU", ReportWriter::AmountText(row.Salary)});
    values.push_back({"SYOUYO", ReportWriter::AmountText(row.Bonus)});
    values.push_back({"GENSENZEIGAKU", ReportWriter::AmountText(row.WithheldTax)});
  }
  return values;
}

}  // namespace

int ReportWriter::WriteSalariesGeneral(XmlOutput& out, int rows, int withOthers) {
  const StIPPAN_SALARIES& block = BlockOrZero(data_.GeneralSaveInfo.Salaries);
  // The last of the six slots is kept for the others' totals.
  constexpr int kPersonSlots = SlotCount<decltype(StIPPAN_SALARIES::Salaries)> - 1;
  const auto person = [&](std::size_t i) -> std::optional<ScheduleRow> {
    return SalaryValues(block.Salaries[i]);
  };
  if (!WriteTableRows(out, kSalaryRow, true, rows, kPersonSlots, person)) return 0;
  if (withOthers <= 0) return 1;
  // Blue returns have five persons and slot 6, white ones three and slot 4.
  if (rows != 3 && rows != 5) return 0;
  const SalarySlot& others = block.Salaries[rows];
  return WriteOthers(out, others.Age, others);
}

int ReportWriter::WriteSalariesRealEstate(XmlOutput& out, int rows, int withOthers) {
  const StFUDOUSAN_SALARIES& block = BlockOrZero(data_.RealEstateSaveInfo.Salaries);
  constexpr int kSlots = SlotCount<decltype(StFUDOUSAN_SALARIES::Salaries)>;
  const auto person = [&](std::size_t i) -> std::optional<ScheduleRow> {
    return SalaryValues(block.Salaries[i]);
  };
  if (!WriteTableRows(out, kSalaryRow, rows > 1, rows, kSlots, person)) return 0;
  if (withOthers <= 0) return 1;
  if (rows < 1) return 0;
  // Slot 2 holds the others' amounts; their number is kept apart.
  return WriteOthers(out, block.OtherEmployeeCount, block.Salaries[1]);
}

int ReportWriter::WriteFamilyEmployeesGeneral(XmlOutput& out, const StDATAINFO& record, int rows) {
  const StIPPAN_RESERVES_FAMILY& block = BlockOrZero(data_.GeneralSaveInfo.ReservesFamily);
  constexpr int kSlots = SlotCount<decltype(StIPPAN_RESERVES_FAMILY::FamilyEmployees)>;
  const auto member = [&](std::size_t i) -> std::optional<ScheduleRow> {
    return FamilyValues(block.FamilyEmployees[i], record);
  };
  return WriteTableRows(out, kFamilyRow, true, rows, kSlots, member);
}

int ReportWriter::WriteFamilyEmployeesRealEstate(XmlOutput& out, const StDATAINFO& record,
                                                 int rows) {
  const StFUDOUSAN_SALARIES& block = BlockOrZero(data_.RealEstateSaveInfo.Salaries);
  constexpr int kSlots = SlotCount<decltype(StFUDOUSAN_SALARIES::FamilyEmployees)>;
  const auto member = [&](std::size_t i) -> std::optional<ScheduleRow> {
    return FamilyValues(block.FamilyEmployees[i], record);
  };
  return WriteTableRows(out, kFamilyRow, rows > 1, rows, kSlots, member);
}

}  // namespace pv14
