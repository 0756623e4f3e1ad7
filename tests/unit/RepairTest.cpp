#include <gtest/gtest.h>

#include <string>

#include "engine/FieldText.h"
#include "tests/unit/ReportFixture.h"

namespace pv14::testing {
namespace {

constexpr const char* kRow = "SYUUZENHI_UTIWAKE";

std::string BlankRow(int n) {
  return OpenRow(kRow, n) + Element(5, "JUUSYO_SIMEI_JOUDAN") + Element(5, "JUUSYO_SIMEI_GEDAN") +
         Element(5, "KOUJIMEI_SIZAIMEI_JOUDAN") + Element(5, "KOUJIMEI_SIZAIMEI_GEDAN") +
         Element(5, "SIHARAINENGAPPI") + Element(5, "SIHARAIKINGAKU") +
         Element(5, "HITUYOUKEIHIGAKU") + CloseRow(kRow);
}

void FillFirstRow(CollectedData& data) {
  RepairRow& row = NewZeroBlock(data.RealEstateSaveInfo.Repairs).RepairRows[0];
  SetFieldText(row.AddressNameUpper, "UPPER");
  SetFieldText(row.AddressNameLower, "LOWER");
  SetFieldText(row.WorkOrMaterial, "ROOF");
  row.PaymentDate = 20230615;
  row.Paid = 150000 * 10000LL;
  row.ExpenseShare = 120000 * 10000LL + 5000;
}

const std::string kFirstRow =
    OpenRow(kRow, 1) + Element(5, "JUUSYO_SIMEI_JOUDAN", "UPPER") +
    Element(5, "JUUSYO_SIMEI_GEDAN", "LOWER") + Element(5, "KOUJIMEI_SIZAIMEI_JOUDAN", "ROOF") +
    Element(5, "KOUJIMEI_SIZAIMEI_GEDAN") + Element(5, "SIHARAINENGAPPI", "20230615") +
    Element(5, "SIHARAIKINGAKU", "150000") + Element(5, "HITUYOUKEIHIGAKU", "120000") +
    CloseRow(kRow);

Operation Repairs(int rows) {
  return [=](ReportWriter& w, XmlOutput& out) { return w.WriteRepairs(out, rows); };
}

TEST(RepairTest, RowsOfTheRepairTable) {
  const struct {
    const char* name;
    bool filled;
    int rows;
    int result;
    std::string expected;
  } cases[] = {
      {"ThreeBlankRows", false, 3, 1, BlankRow(1) + BlankRow(2) + BlankRow(3)},
      {"PaymentDateUnchanged", true, 2, 1, kFirstRow + BlankRow(2)},
      {"FourthRowFailsAfterItsStartTag", true, 4, 0,
       kFirstRow + BlankRow(2) + BlankRow(3) + OpenRow(kRow, 4)},
      {"NoRows", true, 0, 1, ""},
  };
  for (const auto& c : cases) {
    CollectedData data;  // unfilled: the block was never delivered
    if (c.filled) FillFirstRow(data);
    const SectionRun w = RunSection(data, Repairs(c.rows));
    EXPECT_EQ(w.result, c.result) << c.name;
    EXPECT_EQ(w.bytes, c.expected) << c.name;
  }
}

TEST(RepairTest, StopsAtEveryFailedWrite) {
  CollectedData data;
  FillFirstRow(data);
  ExpectStopsAtEveryFailedWrite(data, Repairs(3));
}

}  // namespace
}  // namespace pv14::testing
