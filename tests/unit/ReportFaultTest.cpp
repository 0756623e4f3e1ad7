#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/Text.h"
#include "tests/unit/ReportFixture.h"

namespace pv14 {
namespace {

using namespace pv14::testing;

struct FormCase {
  const char* name;
  std::int16_t incomeKind;
  std::uint8_t returnKind;
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

// A small data set with a few values in every part the report reads.
void FillStore(CollectedData& data) {
  AddEmptyBlocks(data);
  data.GeneralSaveInfo.Basic->DeductionSelection = 1;
  data.GeneralSaveInfo.Basic->RealEstateIncome = 120000 * kYen;
  SetFieldText(data.GeneralSaveInfo.Basic->AssociationName, SJ("青色申告会"));
  data.GeneralSaveInfo.ReservesFamily->ReserveAmounts[0] = 5000 * kYen;
  data.RealEstateSaveInfo.Basic->LiabilityInterest = 4200 * kYen;
  data.MonthlyTotals.Sales[0] = 100000 * kYen;
  for (std::int32_t i = 1; i <= 43; ++i) data.SumRows.push_back(Row(100 + i, "", 0, i * kYen));
  data.SumRows.push_back(Row(201, "", 10 * kYen, 20 * kYen));
  data.SumRows.push_back(Row(217, SJ("【預け金】"), 0, 30 * kYen));
}

void WriteReport(const FormCase& form, MemoryFile& report, int* result) {
  ReportTestEnv env;
  env.report = &report;
  MemoryFile support;
  support.contents = SJ("[=製品名=]") + "Ledger\r\n";
  env.support = &support;
  CollectedData data;
  FillStore(data);
  StDATAINFO record = Record(form.returnKind, "ABC");
  ReportWriter writer(env, nullptr, data, form.incomeKind,
                      testing::TestEdition().defaultProductName);
  *result = writer.WriteReport("Z:\\report.xml", 1, record);
}

class ReportFaultTest : public ::testing::TestWithParam<FormCase> {};

// Each write of the report fails in turn, as a full disk would: the report
// fails, the file is closed and holds exactly the lines before the failure.
TEST_P(ReportFaultTest, EveryFailedWriteLeavesTheLinesBeforeIt) {
  MemoryFile clean;
  int cleanResult = 0;
  WriteReport(GetParam(), clean, &cleanResult);
  ASSERT_EQ(cleanResult, 1);
  ASSERT_GT(clean.lines.size(), 20u);
  EXPECT_TRUE(clean.contents.ends_with("</REPORT>\r\n"));

  std::string before;
  for (std::size_t k = 1; k <= clean.lines.size(); ++k) {
    MemoryFile failing(static_cast<int>(k));
    int result = 1;
    WriteReport(GetParam(), failing, &result);
    EXPECT_EQ(result, 0) << "write " << k;
    EXPECT_EQ(failing.contents, before) << "write " << k;
    EXPECT_FALSE(failing.IsOpen()) << "write " << k;
    // Nothing is attempted after the failed write.
    EXPECT_EQ(failing.writes, static_cast<int>(k)) << "write " << k;
    before += clean.lines[k - 1];
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, ReportFaultTest,
                         ::testing::Values(FormCase{"BlueBusiness", 1, kBlueReturn},
                                           FormCase{"WhiteOther", 2, kWhiteReturn},
                                           FormCase{"BlueRealEstate", 3, kBlueReturn},
                                           FormCase{"WhiteRealEstate", 3, kWhiteReturn},
                                           FormCase{"Unmatched", 1, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14
