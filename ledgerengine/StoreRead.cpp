// Reading the store: the queries the engine's classes serve from, and the
// whole content for the dump.
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "engine/FieldText.h"
#include "ledgerengine/RecordColumns.h"
#include "ledgerengine/Schema.h"
#include "ledgerengine/Store.h"

namespace pv14::ledger {
namespace {

std::string SelectSql(const std::string& table, FieldTable fields, const std::string& tail,
                      const std::string& lead = "") {
  return "SELECT " + lead + ColumnNames(fields) + " FROM " + table + " " + tail;
}

// A query made once per engine call (a data set's saved details, the dump).
// These statements are wide, and kept they would hold memory a run touches
// once more for each (where every new page costs more than a prepare).
StatementHandle Select(Database& db, const std::string& table, FieldTable fields,
                       const std::string& tail, const std::string& lead = "") {
  return db.Once(SelectSql(table, fields, tail, lead));
}

// The single row of a one-row-per-data-set table; zeros when it is missing.
template <class Record>
Record ReadOne(Database& db, const char* table, FieldTable fields, std::int64_t dataSet) {
  Record record{};
  auto statement = Select(db, table, fields, "WHERE data_set = ?");
  statement->Bind(1, dataSet);
  if (statement->Step()) ReadRecord(*statement, 0, fields, &record);
  return record;
}

StatementHandle SelectRows(Database& db, const RowList& list, std::int64_t dataSet) {
  auto statement = Select(db, list.table, list.fields, "WHERE data_set = ? ORDER BY position");
  statement->Bind(1, dataSet);
  return statement;
}

void ReadRowLists(Database& db, std::int64_t dataSet, std::span<const RowList> lists, void* model,
                  const RowList* skipped = nullptr) {
  for (const RowList& list : lists) {
    if (&list == skipped) continue;
    auto statement = SelectRows(db, list, dataSet);
    while (statement->Step()) ReadRecord(*statement, 0, list.fields, list.append(model));
  }
}

const RowList& IncomeRowList() {
  static const RowList& list = []() -> const RowList& {
    for (const RowList& candidate : RealEstateSaveLists()) {
      if (candidate.fields.data() == IncomeRowFields().data()) return candidate;
    }
    throw std::logic_error("no list of income rows");
  }();
  return list;
}

std::optional<DataSetRow> FirstDataSet(Statement& statement) {
  if (!statement.Step()) return std::nullopt;
  DataSetRow row{statement.Int(0), {}};
  ReadRecord(statement, 1, DataInfoFields(), &row.info);
  return row;
}

DataSet ReadDataSet(Database& db, const DataSetRow& row) {
  DataSet set;
  set.info = row.info;
  auto rows =
      Select(db, kStatementRowsTable, SumRowFields(),
             "WHERE data_set = ? ORDER BY summing_type, list, position", "summing_type, list, ");
  rows->Bind(1, row.position);
  while (rows->Step()) {
    const std::int64_t type = rows->Int(0);
    const std::int64_t list = rows->Int(1);
    if (type < 0 || type >= kSummingTypes || list < 0 || list >= kStatementLists) {
      throw StoreError("the store holds a statement row of an unknown list");
    }
    ReadRecord(*rows, 2, SumRowFields(), &set.statements[type][list].emplace_back());
  }
  set.monthlyTotals = ReadMonthlyTotals(db, row.position);
  set.general = ReadGeneralSave(db, row.position);
  set.realEstate = ReadRealEstateSave(db, row.position);
  return set;
}

}  // namespace

StoreInfoRecord ReadStoreInfo(Database& db) {
  StoreInfoRecord info{};
  static const std::string sql = SelectSql(kStoreInfoTable, StoreInfoFields(), "WHERE id = 1");
  auto statement = db.Cached(sql);
  if (!statement->Step()) throw StoreError("the store has no store_info row");
  ReadRecord(*statement, 0, StoreInfoFields(), &info);
  return info;
}

std::string SessionUserId(const StoreInfoRecord& info) {
  const char* user = std::getenv("LEDGER_ENGINE_USER");
  if (user != nullptr && *user != '\0') {
    return std::string(user).substr(0, sizeof info.CurrentUserId - 1);
  }
  return std::string(FieldText(info.CurrentUserId));
}

std::optional<UserEntry> FindUser(Database& db, std::string_view userId) {
  static const std::string sql =
      SelectSql(kUsersTable, UserFields(), "WHERE \"UserId\" = ? ORDER BY position LIMIT 1");
  auto statement = db.Cached(sql);
  statement->BindBlob(1, userId);
  if (!statement->Step()) return std::nullopt;
  UserEntry user{};
  ReadRecord(*statement, 0, UserFields(), &user);
  return user;
}

std::optional<DataSetRow> DataSetAfter(Database& db, std::int64_t position) {
  static const std::string sql =
      SelectSql(kDataSetsTable, DataInfoFields(), "WHERE position > ? ORDER BY position LIMIT 1",
                "position, ");
  auto statement = db.Cached(sql);
  statement->Bind(1, position);
  return FirstDataSet(*statement);
}

std::optional<DataSetRow> FindDataSetByNo(Database& db, std::int32_t dataNo) {
  static const std::string sql =
      SelectSql(kDataSetsTable, DataInfoFields(), "WHERE \"DataNo\" = ? ORDER BY position LIMIT 1",
                "position, ");
  auto statement = db.Cached(sql);
  statement->Bind(1, dataNo);
  return FirstDataSet(*statement);
}

std::optional<DataSetRow> FindDataSetById(Database& db, std::string_view dataId) {
  static const std::string sql =
      SelectSql(kDataSetsTable, DataInfoFields(), "WHERE \"DataId\" = ? ORDER BY position LIMIT 1",
                "position, ");
  auto statement = db.Cached(sql);
  statement->BindBlob(1, dataId);
  return FirstDataSet(*statement);
}

std::int64_t CountStatementRows(Database& db, std::int64_t dataSet, int type, int list) {
  auto statement = db.Cached(
      "SELECT count(*) FROM statement_rows WHERE data_set = ? AND summing_type = ? AND list = ?");
  statement->Bind(1, dataSet);
  statement->Bind(2, type);
  statement->Bind(3, list);
  return statement->Step() ? statement->Int(0) : 0;
}

std::optional<SumRowAt> StatementRowAfter(Database& db, std::int64_t dataSet, int type, int list,
                                          std::int64_t position) {
  static const std::string sql =
      SelectSql(kStatementRowsTable, SumRowFields(),
                "WHERE data_set = ? AND summing_type = ? AND list = ? AND position > ? "
                "ORDER BY position LIMIT 1",
                "position, ");
  auto statement = db.Cached(sql);
  statement->Bind(1, dataSet);
  statement->Bind(2, type);
  statement->Bind(3, list);
  statement->Bind(4, position);
  if (!statement->Step()) return std::nullopt;
  SumRowAt at{statement->Int(0), {}};
  ReadRecord(*statement, 1, SumRowFields(), &at.row);
  return at;
}

StAOSUMINFO_TSUKIBETSU ReadMonthlyTotals(Database& db, std::int64_t dataSet) {
  return ReadOne<StAOSUMINFO_TSUKIBETSU>(db, kMonthlyTotalsTable, MonthlyTotalsFields(), dataSet);
}

GeneralSave ReadGeneralSave(Database& db, std::int64_t dataSet) {
  GeneralSave save;
  save.values = ReadOne<GeneralSaveValues>(db, kGeneralSaveTable, GeneralSaveFields(), dataSet);
  ReadRowLists(db, dataSet, GeneralSaveLists(), &save);
  return save;
}

RealEstateSave ReadRealEstateSave(Database& db, std::int64_t dataSet, bool withIncomeRows) {
  RealEstateSave save;
  save.values =
      ReadOne<RealEstateSaveValues>(db, kRealEstateSaveTable, RealEstateSaveFields(), dataSet);
  save.propertyCounts =
      ReadOne<RentalPropertyCounts>(db, kPropertyCountsTable, PropertyCountsFields(), dataSet);
  ReadRowLists(db, dataSet, RealEstateSaveLists(), &save,
               withIncomeRows ? nullptr : &IncomeRowList());
  return save;
}

std::int64_t CountIncomeRows(Database& db, std::int64_t dataSet) {
  static const std::string sql =
      std::string("SELECT count(*) FROM ") + IncomeRowList().table + " WHERE data_set = ?";
  auto statement = db.Cached(sql);
  statement->Bind(1, dataSet);
  return statement->Step() ? statement->Int(0) : 0;
}

std::size_t ReadIncomeRows(Database& db, std::int64_t dataSet, RealEstateIncomeRow* rows,
                           std::size_t count) {
  auto statement = SelectRows(db, IncomeRowList(), dataSet);
  std::size_t read = 0;
  while (read < count && statement->Step()) {
    ReadRecord(*statement, 0, IncomeRowList().fields, &rows[read++]);
  }
  return read;
}

EngineData ReadStore(Database& db) {
  EngineData data;
  const StoreInfoRecord info = ReadStoreInfo(db);
  data.currentUserId = info.CurrentUserId;
  if (info.HasAppFolders != 0) data.appFolders = AppFolders{info.Documents, info.Settings};
  auto users = Select(db, kUsersTable, UserFields(), "ORDER BY position");
  while (users->Step()) ReadRecord(*users, 0, UserFields(), &data.users.emplace_back());
  for (auto row = DataSetAfter(db, -1); row; row = DataSetAfter(db, row->position)) {
    data.dataSets.push_back(ReadDataSet(db, *row));
  }
  return data;
}

}  // namespace pv14::ledger
