// The repair costs and the counts and areas of the let property.
#include "engine/FieldText.h"
#include "report/ReportWriter.h"
#include "report/ScheduleRows.h"

namespace pv14 {
namespace {

ScheduleRow RepairValues(const RepairRow& row) {
  return {{"JUUSYO_SIMEI_JOUDAN", std::string(FieldText(row.AddressNameUpper))},
          {"JUUSYO_SIMEI_GEDAN", std::string(FieldText(row.AddressNameLower))},
          {"KOUJIMEI_SIZAIMEI_JOUDAN", std::string(FieldText(row.WorkOrMaterial))},
          {"KOUJIMEI_SIZAIMEI_GEDAN", ""},
          // The engine's own date integer, written as it is.
          {"SIHARAINENGAPPI", ReportWriter::CountText(row.PaymentDate)},
          {"SIHARAIKINGAKU", ReportWriter::AmountText(row.Paid)},
          {"HITUYOUKEIHIGAKU", ReportWriter::AmountText(row.ExpenseShare)}};
}

ScheduleRow PropertyValues(const RentalPropertyCounts& c) {
  return {{"JUUTAKU_TATEMONO_IKKODATE", ReportWriter::CountText(c.ResidentialDetachedHouses)},
          {"JUUTAKU_TATEMONO_IKKODATEIGAI", ReportWriter::CountText(c.ResidentialOtherBuildings)},
          {"JUUTAKU_TOTI_KEIYAKU", ReportWriter::CountText(c.ResidentialLandContracts)},
          {"JUUTAKU_TOTI_SOUMENSEKI", AreaText(c.ResidentialLandArea)},
          {"JUUTAKUIGAI_TATEMONO_IKKODATE", ReportWriter::CountText(c.OtherDetachedHouses)},
          {"JUUTAKUIGAI_TATEMONO_IKKODATEIGAI", ReportWriter::CountText(c.OtherOtherBuildings)},
          {"JUUTAKUIGAI_TOTI_KEIYAKU", ReportWriter::CountText(c.OtherLandContracts)},
          {"JUUTAKUIGAI_TOTI_SOUMENSEKI", AreaText(c.OtherLandArea)},
          {"CHUUSYAJOU_YANETUKI", ReportWriter::CountText(c.RoofedParkingSpaces)},
          {"CHUUSYAJOU_AOZORA", ReportWriter::CountText(c.OpenParkingSpaces)}};
}

}  // namespace

int ReportWriter::WriteRepairs(XmlOutput& out, int rows) {
  const StFUDOUSAN_REPAIRS& block = BlockOrZero(data_.RealEstateSaveInfo.Repairs);
  const auto row = [&](std::size_t i) -> std::optional<ScheduleRow> {
    return RepairValues(block.RepairRows[i]);
  };
  return WriteTableRows(out, "SYUUZENHI_UTIWAKE", true, rows,
                        SlotCount<decltype(StFUDOUSAN_REPAIRS::RepairRows)>, row);
}

int ReportWriter::WriteRentalProperty(XmlOutput& out) {
  const StFUDOUSAN_PROPERTY& block = BlockOrZero(data_.RealEstateSaveInfo.Property);
  std::string line;
  return WriteValues(out, line, PropertyValues(block.PropertyCounts), kSectionContentDepth);
}

}  // namespace pv14
