#include <gtest/gtest.h>

#include <string>

#include "engine/FieldText.h"
#include "tests/unit/ReportFixture.h"

namespace pv14::testing {
namespace {

// Partner i is named "S<i>" (sales) or "P<i>" (purchases) and accounts for
// 1000 * i yen plus a fraction that must be cut off; the others total 5 yen.
void Fill(CollectedData& data) {
  auto& block = NewZeroBlock(data.GeneralSaveInfo.SalesPurchases);
  for (int i = 1; i <= 4; ++i) {
    SetFieldText(block.SalesRows[i - 1].Name, "S" + std::to_string(i));
    SetFieldText(block.SalesRows[i - 1].Location, "CITY" + std::to_string(i));
    block.SalesRows[i - 1].Amount = 10000000LL * i + 1;
    SetFieldText(block.PurchaseRows[i - 1].Name, "P" + std::to_string(i));
    block.PurchaseRows[i - 1].Amount = -10000000LL * i;
  }
  block.OtherSalesTotal = 50000;
  block.OtherPurchasesTotal = 9999;
}

std::string SalesRows(int to, bool blank) {
  std::string text;
  for (int i = 1; i <= to; ++i) {
    text += OpenRow("URIAGE_UTIWAKE", i) +
            Element(5, "URIAGESAKIMEI", blank ? "" : "S" + std::to_string(i)) +
            Element(5, "SYOZAITI", blank ? "" : "CITY" + std::to_string(i)) +
            Element(5, "URIAGEKINGAKU", blank ? "" : std::to_string(1000 * i)) +
            CloseRow("URIAGE_UTIWAKE");
  }
  return text;
}

Operation Sales(int rows) {
  return [=](ReportWriter& w, XmlOutput& out) { return w.WriteSalesBreakdown(out, rows); };
}

struct BreakdownCase {
  const char* name;
  bool filled;
  Operation op;
  int result;
  std::string expected;
};

class BreakdownSectionTest : public ::testing::TestWithParam<BreakdownCase> {};

TEST_P(BreakdownSectionTest, WritesTheRowsThenTheOthersTotal) {
  CollectedData data;
  if (GetParam().filled) {
    Fill(data);
  } else {
    NewZeroBlock(data.GeneralSaveInfo.SalesPurchases);
  }
  const SectionRun w = RunSection(data, GetParam().op);
  EXPECT_EQ(w.result, GetParam().result);
  EXPECT_EQ(w.bytes, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BreakdownSectionTest,
    ::testing::Values(
        BreakdownCase{"SalesFourBlankRows", false, Sales(4), 1,
                      SalesRows(4, true) + Element(4, "JOUKIIGAI_URIAGESAKIKEI")},
        BreakdownCase{"SalesFourRows", true, Sales(4), 1,
                      SalesRows(4, false) + Element(4, "JOUKIIGAI_URIAGESAKIKEI", "5")},
        BreakdownCase{"SalesNoRowsOnlyTheTotal", true, Sales(0), 1,
                      Element(4, "JOUKIIGAI_URIAGESAKIKEI", "5")},
        BreakdownCase{"SalesFifthRowFailsAfterItsStartTag", true, Sales(5), 0,
                      SalesRows(4, false) + OpenRow("URIAGE_UTIWAKE", 5)},
        BreakdownCase{
            "PurchasesOneRow", true,
            [](ReportWriter& w, XmlOutput& out) { return w.WritePurchaseBreakdown(out, 1); }, 1,
            OpenRow("SIIRE_UTIWAKE", 1) + Element(5, "SIIRESAKIMEI", "P1") +
                Element(5, "SYOZAITI") + Element(5, "SIIREKINGAKU", "-1000") +
                CloseRow("SIIRE_UTIWAKE") + Element(4, "JOUKIIGAI_SIIRESAKIKEI")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BreakdownTest, MissingBlockGivesBlankRows) {
  CollectedData data;
  const SectionRun w = RunSection(data, Sales(4));
  EXPECT_EQ(w.result, 1);
  EXPECT_EQ(w.bytes, SalesRows(4, true) + Element(4, "JOUKIIGAI_URIAGESAKIKEI"));
}

TEST(BreakdownTest, StopsAtEveryFailedWrite) {
  CollectedData data;
  Fill(data);
  ExpectStopsAtEveryFailedWrite(data, Sales(4));
}

}  // namespace
}  // namespace pv14::testing
