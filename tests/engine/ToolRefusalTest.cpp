// Files `ledger-engine load` refuses: each names the bad value and leaves
// the store exactly as it was.
#include <gtest/gtest.h>

#include <string>

#include "tests/engine/ToolStore.h"

namespace pv14::testing {
namespace {

// A file with one data set holding the given members.
std::string WithDataSet(const std::string& members) {
  return R"({"DataSets": [{"DataId": "D1", "DataNo": 1, )" + members + "}]}";
}

std::string Repeat(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

std::string Rows(const std::string& row, int count) {
  std::string rows;
  for (int i = 0; i < count; ++i) rows += (i == 0 ? "" : ", ") + row;
  return "[" + rows + "]";
}

std::string WithAmount(const std::string& amount) {
  return WithDataSet(R"("Statements": {"General": {"PL": [{"LineNo": 1, "ClosingBalance": )" +
                     amount + "}]}}");
}

std::string WithInteger(const std::string& key, const std::string& value) {
  return WithDataSet("\"" + key + "\": " + value);
}

struct Refusal {
  const char* name;
  std::string file;
  std::string message;  // what stderr must hold: the value's path and the problem
};

class ToolRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(ToolRefusals, NameTheValueAndLeaveTheStoreUnchanged) {
  const Refusal& refusal = GetParam();
  ToolStore store;
  ASSERT_EQ(store.Load(SampleText()).exitStatus, 0);
  const ProcessResult before = store.Dump();
  ASSERT_EQ(before.exitStatus, 0);

  const ProcessResult load = store.Load(refusal.file);
  EXPECT_EQ(load.exitStatus, 1);
  EXPECT_NE(load.err.find(refusal.message), std::string::npos)
      << "expected: " << refusal.message << "\ngot: " << load.err;

  const ProcessResult after = store.Dump();
  ASSERT_EQ(after.exitStatus, 0);
  EXPECT_EQ(after.out, before.out);
}

const std::string kSalaries = "DataSets[0].GeneralSaveInfo.Salaries";

INSTANTIATE_TEST_SUITE_P(
    Tool, ToolRefusals,
    ::testing::Values(
        // the file's shape
        Refusal{"MalformedJson", R"({"DataSets": [})", "malformed JSON"},
        Refusal{"InvalidUtf8", "{\"CurrentUserId\": \"\xFF\"}", "malformed JSON"},
        Refusal{"TopLevelNotAnObject", "[]", "(top level): expected an object"},
        Refusal{"UnknownTopLevelKey", R"({"CurrentUser": "U"})", "CurrentUser: unknown key"},
        Refusal{"UnknownKeyInARow",
                WithDataSet(R"("GeneralSaveInfo": {"Salaries": [{}, {"Nmae": "x"}]})"),
                kSalaries + "[1].Nmae: unknown key"},
        Refusal{"CostOfManufactureIsGeneralOnly",
                WithDataSet(R"("Statements": {"RealEstate": {"CostOfManufacture": []}})"),
                "DataSets[0].Statements.RealEstate.CostOfManufacture: unknown key"},
        Refusal{"KeyGivenTwice", R"({"DataSets": [{"DataNo": 1, "DataNo": 2}]})",
                "DataSets[0].DataNo: the key is given twice"},
        Refusal{"ListThatIsAnObject", R"({"Users": {}})", "Users: expected a list"},
        Refusal{"RowThatIsNoObject", WithDataSet(R"("GeneralSaveInfo": {"Salaries": [1]})"),
                kSalaries + "[0]: expected an object"},
        // texts
        Refusal{"DoubleByteTextOverItsLimit",
                WithDataSet(R"("GeneralSaveInfo": {"Salaries": [{}, {}, {"Name": ")" +
                            Repeat("表", 23) + "\"}]}"),
                kSalaries + "[2].Name: 46 bytes, at most 40"},
        Refusal{"SingleByteTextOverItsLimit",
                WithDataSet(R"("Statements": {"General": {"PL": [{"ItemName": ")" +
                            Repeat("a", 128) + "\"}]}}"),
                "DataSets[0].Statements.General.PL[0].ItemName: 128 bytes, at most 127"},
        Refusal{"CurrentUserIdOverItsLimit", R"({"CurrentUserId": ")" + Repeat("u", 65) + "\"}",
                "CurrentUserId: 65 bytes, at most 64"},
        Refusal{"CharacterWithoutShiftJisForm", WithDataSet(R"("CompanyName": "한국")"),
                "DataSets[0].CompanyName: a character has no Shift_JIS form"},
        Refusal{"ControlCharacter", WithDataSet(R"("CompanyName": "a\tb")"),
                "DataSets[0].CompanyName: control character U+0009"},
        Refusal{"NulCharacter", WithDataSet(R"("CompanyName": "a\u0000b")"),
                "DataSets[0].CompanyName: control character U+0000"},
        Refusal{"LineBreakOutsideSpecialCircumstances",
                WithDataSet(R"("RealEstateSaveInfo": {"IncomeRows": [{"TenantName": "a\nb"}]})"),
                "DataSets[0].RealEstateSaveInfo.IncomeRows[0].TenantName: control character "
                "U+000A"},
        Refusal{"TextWhereANumberBelongs", WithDataSet(R"("CompanyName": 5)"),
                "DataSets[0].CompanyName: expected a text"},
        // amounts
        Refusal{"FractionalNumber", WithAmount("1.5"),
                "DataSets[0].Statements.General.PL[0].ClosingBalance: 1.5 has a fraction"},
        Refusal{"ExponentNumber", WithDataSet(R"("MonthlyTotals": {"Sales": [0, 1e3]})"),
                "DataSets[0].MonthlyTotals.Sales[1]: 1e3 has an exponent"},
        Refusal{"IntegerBeyondTheScaledRange", WithAmount("922337203685478"),
                "ClosingBalance: 922337203685478 is out of range"},
        Refusal{"IntegerBeyondSixtyFourBits", WithAmount("99999999999999999999"),
                "ClosingBalance: 99999999999999999999 is out of range"},
        Refusal{"TextAboveTheRange", WithAmount(R"("922337203685477.5808")"),
                "ClosingBalance: \"922337203685477.5808\" is out of range"},
        Refusal{"TextBelowTheRange", WithAmount(R"("-922337203685477.5809")"),
                "ClosingBalance: \"-922337203685477.5809\" is out of range"},
        Refusal{"FiveDecimals", WithAmount(R"("1.23456")"), "has more than four decimals"},
        Refusal{"GroupingComma", WithAmount(R"("12,000")"), "is not a decimal amount"},
        Refusal{"PointWithoutDecimals", WithAmount(R"("1.")"), "is not a decimal amount"},
        Refusal{"PointWithoutWholePart", WithAmount(R"(".5")"), "is not a decimal amount"},
        Refusal{"EmptyText", WithAmount(R"("")"), "is not a decimal amount"},
        Refusal{"ExponentInText", WithAmount(R"("1e3")"), "is not a decimal amount"},
        Refusal{"Blank", WithAmount(R"(" 5")"), "is not a decimal amount"},
        Refusal{"Boolean", WithAmount("true"), "expected an amount"},
        Refusal{"MoreThanTwelveMonths",
                WithDataSet(R"("MonthlyTotals": {"Purchases": )" + Rows("1", 13) + "}"),
                "DataSets[0].MonthlyTotals.Purchases: 13 amounts, at most 12"},
        Refusal{"MoreThanFourReserves",
                WithDataSet(R"("GeneralSaveInfo": {"ReserveAmounts": )" + Rows("1", 5) + "}"),
                "DataSets[0].GeneralSaveInfo.ReserveAmounts: 5 amounts, at most 4"},
        // integers
        Refusal{"UInt8AboveItsType", WithInteger("ReturnKind", "256"),
                "DataSets[0].ReturnKind: 256 is out of range (0 to 255)"},
        Refusal{"UInt8BelowItsType", WithInteger("StatementScope", "-1"),
                "DataSets[0].StatementScope: -1 is out of range (0 to 255)"},
        Refusal{"Int16AboveItsType", WithInteger("DataKind", "32768"),
                "DataSets[0].DataKind: 32768 is out of range (-32768 to 32767)"},
        Refusal{"Int32AboveItsType", WithInteger("PeriodTo", "2147483648"),
                "DataSets[0].PeriodTo: 2147483648 is out of range"},
        Refusal{"Int32BelowItsType", WithInteger("PeriodFrom", "-2147483649"),
                "DataSets[0].PeriodFrom: -2147483649 is out of range"},
        Refusal{"IntegerWrittenAsText", WithInteger("HasCostOfManufacture", R"("1")"),
                "DataSets[0].HasCostOfManufacture: expected an integer"},
        Refusal{"IntegerWithAFraction",
                WithDataSet(R"("GeneralSaveInfo": {"Salaries": [{"Age": 30.0}]})"),
                kSalaries + "[0].Age: 30.0 has a fraction"},
        Refusal{"FeeKindAboveItsType",
                WithDataSet(R"("GeneralSaveInfo": {"RentRows": [{"FeeKind": 300}]})"),
                "DataSets[0].GeneralSaveInfo.RentRows[0].FeeKind: 300 is out of range"},
        // the store's own rules
        Refusal{"DataNoGivenTwice",
                R"({"DataSets": [{"DataNo": 5}, {"DataNo": 6}, {"DataNo": 5}]})",
                "DataSets[2].DataNo: 5 is already the DataNo of DataSets[0]"},
        Refusal{"UserListedTwice",
                R"({"Users": [{"UserId": "A"}, {"UserId": "B"}, {"UserId": "A"}]})",
                "Users[2].UserId: the user is already listed as Users[0]"},
        Refusal{"SevenSalarySlots",
                WithDataSet(R"("GeneralSaveInfo": {"Salaries": )" + Rows("{}", 7) + "}"),
                kSalaries + ": 7 rows, at most 6"},
        Refusal{"FiveSalesRows",
                WithDataSet(R"("GeneralSaveInfo": {"SalesRows": )" + Rows("{}", 5) + "}"),
                "DataSets[0].GeneralSaveInfo.SalesRows: 5 rows, at most 4"},
        Refusal{"ThreeRealEstateFamilyEmployees",
                WithDataSet(R"("RealEstateSaveInfo": {"FamilyEmployees": )" + Rows("{}", 3) + "}"),
                "DataSets[0].RealEstateSaveInfo.FamilyEmployees: 3 rows, at most 2"},
        Refusal{"FourBorrowingRows",
                WithDataSet(R"("RealEstateSaveInfo": {"BorrowingRows": )" + Rows("{}", 4) + "}"),
                "DataSets[0].RealEstateSaveInfo.BorrowingRows: 4 rows, at most 3"},
        Refusal{
            "IncomeRowKeyedMinusOne",
            WithDataSet(R"("RealEstateSaveInfo": {"IncomeRows": [{"RowKey": 1}, {"RowKey": -1}]})"),
            "DataSets[0].RealEstateSaveInfo.IncomeRows[1].RowKey: -1 is kept for the end"},
        Refusal{"FolderWithoutBackslash", R"({"AppFolders": {"Documents": "Z:\\home\\me"}})",
                "AppFolders.Documents: a folder must end with a backslash"},
        Refusal{"FolderEndingInADoubleByteCharacter", R"({"AppFolders": {"Settings": "Z:\\表"}})",
                "AppFolders.Settings: a folder must end with a backslash"},
        Refusal{"FolderOverItsLimit",
                R"({"AppFolders": {"Settings": "Z:\\)" + Repeat("a", 256) + R"(\\"}})",
                "AppFolders.Settings: 260 bytes, at most 259"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
