// ClSysUser and ClSetData over the sample in each kind of store: the current
// user, the selections and the walk over the data sets.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/FieldText.h"
#include "tests/engine/SampleEngine.h"

namespace pv14::testing {
namespace {

class DataSets : public SampleEngineOf<> {
 protected:
  ClSysUser* users_ = ClDataMgr::Inst()->GetSysUserObject();
  ClSetData* sets_ = ClDataMgr::Inst()->GetSetObject(5, 1);

  // The whole walk as the program makes it; the result that ended it.
  std::vector<StDATAINFO> Walk(std::int32_t* end) {
    std::int32_t cursor = 0;
    EXPECT_EQ(sets_->GetDatCursor(&cursor), kEngineOk);
    EXPECT_EQ(sets_->ReadyDat(cursor, 0), kEngineOk);
    std::vector<StDATAINFO> records;
    StDATAINFO record{};
    while ((*end = sets_->WalkDat(&record, cursor)) == kEngineOk) records.push_back(record);
    EXPECT_EQ(sets_->WalkDat(&record, cursor), kEngineNoMoreRows) << "the end stays the end";
    EXPECT_EQ(sets_->ReleaseDatCursor(cursor), kEngineOk);
    return records;
  }
};

// By value: a key the file leaves out reads as null (0 or empty).
void ExpectRecordOf(Json set, const StDATAINFO& record) {
  EXPECT_EQ(FieldText(record.DataId), SjisOf(set["DataId"]));
  EXPECT_EQ(record.DataNo, IntegerOf(set["DataNo"]));
  EXPECT_EQ(FieldText(record.CompanyName), SjisOf(set["CompanyName"]));
  EXPECT_EQ(record.PeriodFrom, IntegerOf(set["PeriodFrom"]));
  EXPECT_EQ(record.PeriodTo, IntegerOf(set["PeriodTo"]));
  EXPECT_EQ(record.HasCostOfManufacture, IntegerOf(set["HasCostOfManufacture"]));
  EXPECT_EQ(record.DataKind, IntegerOf(set["DataKind"]));
  EXPECT_EQ(record.ReturnKind, IntegerOf(set["ReturnKind"]));
  EXPECT_EQ(record.StatementScope, IntegerOf(set["StatementScope"]));
}

TEST_P(DataSets, WalkDeliversEveryDataSetInFileOrderThenTheEnd) {
  std::int32_t end = 0;
  const std::vector<StDATAINFO> records = Walk(&end);
  EXPECT_EQ(end, kEngineNoMoreRows);
  const Json& expected = Sample()["DataSets"];
  ASSERT_EQ(records.size(), expected.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectRecordOf(expected[i], records[i]);
  }
}

TEST_P(DataSets, TwoWalksDoNotDisturbEachOther) {
  std::int32_t first = 0, second = 0;
  ASSERT_EQ(sets_->GetDatCursor(&first), kEngineOk);
  ASSERT_EQ(sets_->GetDatCursor(&second), kEngineOk);
  ASSERT_NE(first, second);
  ASSERT_EQ(sets_->ReadyDat(first, 0), kEngineOk);
  ASSERT_EQ(sets_->ReadyDat(second, 0), kEngineOk);
  StDATAINFO a{}, b{};
  ASSERT_EQ(sets_->WalkDat(&a, first), kEngineOk);
  ASSERT_EQ(sets_->WalkDat(&a, first), kEngineOk);
  ASSERT_EQ(sets_->WalkDat(&b, second), kEngineOk);
  EXPECT_EQ(b.DataNo, Sample()["DataSets"][0]["DataNo"]);
  EXPECT_EQ(a.DataNo, Sample()["DataSets"][1]["DataNo"]);
  EXPECT_EQ(sets_->ReleaseDatCursor(first), kEngineOk);
  EXPECT_EQ(sets_->ReleaseDatCursor(second), kEngineOk);
}

TEST_P(DataSets, CursorsAreCheckedBeforeUse) {
  StDATAINFO record{};
  std::int32_t cursor = 0;
  ASSERT_EQ(sets_->GetDatCursor(&cursor), kEngineOk);
  EXPECT_NE(sets_->WalkDat(&record, cursor), kEngineOk) << "walked before ReadyDat";
  EXPECT_NE(sets_->WalkDat(&record, cursor + 100), kEngineOk) << "a cursor never handed out";
  EXPECT_NE(sets_->ReadyDat(cursor + 100, 0), kEngineOk);
  EXPECT_NE(sets_->WalkDat(nullptr, cursor), kEngineOk);
  EXPECT_NE(sets_->GetDatCursor(nullptr), kEngineOk);
  EXPECT_EQ(sets_->ReleaseDatCursor(cursor), kEngineOk);
  EXPECT_NE(sets_->ReleaseDatCursor(cursor), kEngineOk) << "released twice";
  EXPECT_NE(sets_->ReadyDat(cursor, 0), kEngineOk) << "used after release";
}

TEST_P(DataSets, CurrentUserAndSelections) {
  char user[65];
  std::memset(user, 'x', sizeof user);
  ASSERT_EQ(users_->GetCurUserID(user), kEngineOk);
  EXPECT_EQ(FieldText(user), SjisOf(Sample()["CurrentUserId"]));

  for (const Json& entry : Sample()["Users"]) {
    std::int32_t key = -1, data = -1;
    const std::string id = SjisOf(entry["UserId"]);
    EXPECT_EQ(users_->GetSelectedNo(id.c_str(), &key, &data), kEngineOk);
    EXPECT_EQ(key, IntegerOf(entry["SelectedKeyNo"])) << id;
    EXPECT_EQ(data, IntegerOf(entry["SelectedDataNo"])) << id;
  }
  std::int32_t key = -1, data = -1;
  EXPECT_EQ(users_->GetSelectedNo("NOBODY", &key, &data), kEngineOk);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(data, 0);
  EXPECT_NE(users_->GetSelectedNo(nullptr, &key, &data), kEngineOk);
  EXPECT_NE(users_->GetCurUserID(nullptr), kEngineOk);
}

TEST_P(DataSets, TheLongestUserIdFillsTheCallersBufferAndNoMore) {
  const std::string id(64, 'u');
  ConnectTo(R"({"CurrentUserId": ")" + id + "\"}");
  char buffer[65 + 8];
  std::memset(buffer, '#', sizeof buffer);
  ASSERT_EQ(users_->GetCurUserID(buffer), kEngineOk);
  EXPECT_EQ(std::string(buffer), id);
  EXPECT_EQ(std::string(buffer + 65, 8), std::string(8, '#'));
}

TEST_P(DataSets, SelectedInfoIsTheCurrentUsersSelection) {
  const StDATAINFO* selected = sets_->GetSelectedInfo();
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(FieldText(selected->DataId), kBlueId);
  ExpectRecordOf(DataSetOf(kBlueId), *selected);
  // The program copies it; the engine's own record stays put between calls.
  EXPECT_EQ(sets_->GetSelectedInfo(), selected);
}

TEST_P(DataSets, SelectedInfoFollowsTheNumberAsTheProgramsWalkDoes) {
  struct Case {
    const char* name;
    const char* file;
    std::int32_t dataNo;  // the record expected, 0 for none
  } cases[] = {
      {"UserSelectsTheSecond",
       R"({"CurrentUserId": "A", "Users": [{"UserId": "A", "SelectedDataNo": 8}],
           "DataSets": [{"DataId": "S7", "DataNo": 7}, {"DataId": "S8", "DataNo": 8}]})",
       8},
      {"SelectionMatchesNoDataSet",
       R"({"CurrentUserId": "A", "Users": [{"UserId": "A", "SelectedDataNo": 9}],
           "DataSets": [{"DataId": "S7", "DataNo": 7}]})",
       0},
      {"UnlistedUserSelectsNumberZero",
       R"({"CurrentUserId": "B", "Users": [{"UserId": "A", "SelectedDataNo": 7}],
           "DataSets": [{"DataId": "S7", "DataNo": 7}, {"DataId": "S0"}]})",
       -1},
      {"UnlistedUserAndNoNumberZero",
       R"({"CurrentUserId": "B", "DataSets": [{"DataId": "S7", "DataNo": 7}]})", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConnectTo(c.file);
    const StDATAINFO* selected = sets_->GetSelectedInfo();
    if (c.dataNo == 0) {
      EXPECT_EQ(selected, nullptr);
    } else {
      ASSERT_NE(selected, nullptr);
      EXPECT_EQ(selected->DataNo, c.dataNo == -1 ? 0 : c.dataNo);
      EXPECT_EQ(FieldText(selected->DataId), c.dataNo == -1 ? "S0" : "S8");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Stores, DataSets, EveryStoreKind(), StoreKindTestName);

}  // namespace
}  // namespace pv14::testing
