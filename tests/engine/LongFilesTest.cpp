// A file of any length is read a piece at a time: the long row lists go to
// the store as they are read, and what stays in memory has a bound, so a
// load costs a small multiple of its file however the file is made.
#include <gtest/gtest.h>

#include <string>

#include "ledgerengine/FormError.h"
#include "ledgerengine/JsonForm.h"
#include "tests/engine/ToolStore.h"

namespace pv14::testing {
namespace {

using ledger::EngineData;
using ledger::FormError;
using ledger::ReadEngineJson;

std::string Repeated(const std::string& item, std::size_t count) {
  std::string text;
  text.reserve((item.size() + 1) * count);
  for (std::size_t i = 0; i < count; ++i) text += (i == 0 ? "" : ",") + item;
  return text;
}

TEST(LongFiles, RowsTakenAsTheyComeLandInTheirDataSetsInOrder) {
  // The rows of the second data set come before its number, and the first
  // data set's rows after its saved details.
  const std::string file = R"({"DataSets": [
    {"DataNo": 7, "RealEstateSaveInfo": {"LiabilityInterest": 5,
       "IncomeRows": [{"RowKey": 3}, {"RowKey": 1}, {"RowKey": 2}]},
     "Statements": {"General": {"PL": [{"LineNo": 2}, {"LineNo": 1}]}}},
    {"Statements": {"RealEstate": {"Assets": [{"Code": 9}]}}, "DataNo": 8}],
   "Users": [{"UserId": "B"}, {"UserId": "A"}], "CurrentUserId": "A"})";
  const EngineData data = ReadEngineJson(file);
  ASSERT_EQ(data.dataSets.size(), 2u);
  const auto& first = data.dataSets[0];
  EXPECT_EQ(first.info.DataNo, 7);
  ASSERT_EQ(first.realEstate.incomeRows.size(), 3u);
  EXPECT_EQ(first.realEstate.incomeRows[0].RowKey, 3);
  EXPECT_EQ(first.realEstate.incomeRows[2].RowKey, 2);
  ASSERT_EQ(first.statements[0][ledger::kPL].size(), 2u);
  EXPECT_EQ(first.statements[0][ledger::kPL][0].LineNo, 2);
  const auto& second = data.dataSets[1];
  EXPECT_EQ(second.info.DataNo, 8);
  EXPECT_TRUE(second.realEstate.incomeRows.empty());
  ASSERT_EQ(second.statements[1][ledger::kAssets].size(), 1u);
  EXPECT_EQ(second.statements[1][ledger::kAssets][0].Code, 9);
  ASSERT_EQ(data.users.size(), 2u);
  EXPECT_EQ(data.currentUserId, "A");
}

TEST(LongFiles, ValuesBeyondTheBoundOutsideTheRowListsAreRefusedWhereTheyStart) {
  const std::string file =
      R"({"DataSets": [{"DataNo": [)" + Repeated("0", ledger::kMaxHeldJsonValues + 10) + "]}]}";
  try {
    ReadEngineJson(file);
    FAIL() << "accepted";
  } catch (const FormError& error) {
    // The document, the list, its data set and the values before it.
    const std::string where =
        "DataSets[0].DataNo[" + std::to_string(ledger::kMaxHeldJsonValues - 4) + "]: ";
    EXPECT_EQ(std::string(error.what()).rfind(where, 0), 0u) << error.what();
  }
}

#if !defined(_WIN32) && !defined(PV14_SANITIZED)
struct LongFile {
  const char* name;
  std::string (*make)(std::size_t count);
  std::size_t count;
  int exitStatus;
};

class LongFileShapes : public ::testing::TestWithParam<LongFile> {};

// Once, a file of 1.7 MB of small data sets took 450 MB and nearly a
// minute, and every flat file over 25 times its size.
TEST_P(LongFileShapes, CostASmallMultipleOfTheFile) {
  const LongFile& shape = GetParam();
  ToolStore small;
  const ProcessResult base = small.Load(shape.make(1));
  ASSERT_EQ(base.exitStatus, shape.exitStatus) << base.err;
  ToolStore store;
  const std::string file = shape.make(shape.count);
  const ProcessResult load = store.Load(file);
  EXPECT_EQ(load.exitStatus, shape.exitStatus) << load.err;
  // The file is held whole, and the store has a page cache of its own.
  const long growth = load.peakKilobytes - base.peakKilobytes;
  EXPECT_LT(growth, static_cast<long>(4096 + 4 * file.size() / 1024))
      << "kilobytes of growth for " << file.size() << " bytes";
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, LongFileShapes,
    ::testing::Values(
        LongFile{"DataSets",
                 [](std::size_t count) {
                   std::string sets;
                   for (std::size_t i = 1; i <= count; ++i) {
                     sets += (i == 1 ? "" : ",") + std::string(R"({"DataNo":)") +
                             std::to_string(i) + "}";
                   }
                   return R"({"DataSets":[)" + sets + "]}";
                 },
                 30000, 0},
        LongFile{"EmptyIncomeRows",
                 [](std::size_t count) {
                   return R"({"DataSets":[{"DataNo":1,"RealEstateSaveInfo":{"IncomeRows":[)" +
                          Repeated("{}", count) + "]}}]}";
                 },
                 150000, 0},
        LongFile{"EmptyStatementRows",
                 [](std::size_t count) {
                   return R"({"DataSets":[{"DataNo":1,"Statements":{"General":{"PL":[)" +
                          Repeated("{}", count) + "]}}}]}";
                 },
                 150000, 0},
        LongFile{"UnknownKeyWithALongList",
                 [](std::size_t count) { return R"({"Other":[)" + Repeated("{}", count) + "]}"; },
                 1000000, 1}),
    [](const auto& info) { return std::string(info.param.name); });
#endif

}  // namespace
}  // namespace pv14::testing
