#include "ledgerengine/Schema.h"

#include <map>
#include <set>

#include "ledgerengine/EngineData.h"
#include "ledgerengine/RecordColumns.h"

namespace pv14::ledger {
namespace {

constexpr char kDataSetKey[] = "data_set INTEGER NOT NULL REFERENCES data_sets (position)";

struct TableShape {
  std::string name;
  std::string keys;  // leading key columns
  FieldTable fields;
  std::string constraints;  // trailing table constraints
};

std::vector<TableShape> Tables() {
  std::vector<TableShape> tables = {
      {kStoreInfoTable, "id INTEGER PRIMARY KEY CHECK (id = 1)", StoreInfoFields(), ""},
      {kUsersTable, "position INTEGER PRIMARY KEY", UserFields(), "UNIQUE (\"UserId\")"},
      {kDataSetsTable, "position INTEGER PRIMARY KEY", DataInfoFields(), "UNIQUE (\"DataNo\")"},
      {kStatementRowsTable,
       std::string(kDataSetKey) +
           ",\n  summing_type INTEGER NOT NULL CHECK (summing_type IN (0, 1)),\n"
           "  list INTEGER NOT NULL CHECK (list BETWEEN 0 AND 3),\n"
           "  position INTEGER NOT NULL",
       SumRowFields(), "PRIMARY KEY (data_set, summing_type, list, position)"},
      {kMonthlyTotalsTable, std::string(kDataSetKey) + " PRIMARY KEY", MonthlyTotalsFields(), ""},
      {kGeneralSaveTable, std::string(kDataSetKey) + " PRIMARY KEY", GeneralSaveFields(), ""},
      {kRealEstateSaveTable, std::string(kDataSetKey) + " PRIMARY KEY", RealEstateSaveFields(), ""},
      {kPropertyCountsTable, std::string(kDataSetKey) + " PRIMARY KEY", PropertyCountsFields(), ""},
  };
  for (auto lists : {GeneralSaveLists(), RealEstateSaveLists()}) {
    for (const RowList& list : lists) {
      std::string constraints = "PRIMARY KEY (data_set, position)";
      if (list.fields.data() == IncomeRowFields().data()) {
        constraints += ",\n  CHECK (\"RowKey\" <> -1)";  // the end row is the engine's own
      }
      tables.push_back(TableShape{list.table,
                                  std::string(kDataSetKey) + ",\n  position INTEGER NOT NULL",
                                  list.fields, constraints});
    }
  }
  return tables;
}

std::string CreateStatement(const TableShape& table) {
  std::string sql = "CREATE TABLE " + table.name + " (\n  " + table.keys;
  if (!table.fields.empty()) sql += ",\n  " + ColumnDefinitions(table.fields);
  if (!table.constraints.empty()) sql += ",\n  " + table.constraints;
  return sql + "\n)";
}

std::vector<std::string> ColumnsOf(Database& db, const std::string& table) {
  std::vector<std::string> columns;
  auto info = db.Prepare("PRAGMA table_info(" + table + ")");
  while (info->Step()) columns.emplace_back(info->Blob(1));
  return columns;
}

// How a table whose statement differs from ours differs, by its columns.
std::string TableDifference(Database& db, const TableShape& table) {
  Database expected(":memory:", Database::Mode::kReadWriteCreate);
  expected.Exec(CreateStatement(table));
  const std::vector<std::string> want = ColumnsOf(expected, table.name);
  const std::vector<std::string> have = ColumnsOf(db, table.name);
  const std::set<std::string> haveSet(have.begin(), have.end());
  const std::set<std::string> wantSet(want.begin(), want.end());
  for (const std::string& column : want) {
    if (haveSet.count(column) == 0) return "the table " + table.name + " has no column " + column;
  }
  for (const std::string& column : have) {
    if (wantSet.count(column) == 0) {
      return "the table " + table.name + " has a column " + column + " of no store of this engine";
    }
  }
  return "the table " + table.name + " is not made as this engine makes it";
}

}  // namespace

std::string SchemaDifference(Database& db) {
  // One read of the schema's own text: SQLite keeps each table's statement as
  // it was given, and changes it with every column added or dropped.
  std::map<std::string, std::string> stored;
  auto rows = db.Prepare("SELECT name, sql FROM sqlite_master WHERE type = 'table'");
  while (rows->Step()) stored.emplace(rows->Blob(0), rows->Blob(1));
  for (const TableShape& table : Tables()) {
    const auto found = stored.find(table.name);
    if (found == stored.end()) return "there is no table " + table.name;
    if (found->second != CreateStatement(table)) return TableDifference(db, table);
  }
  return {};
}

std::vector<std::string> SchemaStatements() {
  std::vector<std::string> statements;
  for (const TableShape& table : Tables()) statements.push_back(CreateStatement(table));
  return statements;
}

void CreateSchema(Database& db) {
  const std::vector<TableShape> tables = Tables();
  for (auto it = tables.rbegin(); it != tables.rend(); ++it) {
    db.Exec("DROP TABLE IF EXISTS " + it->name);
  }
  for (const TableShape& table : tables) db.Exec(CreateStatement(table));
  db.Exec("PRAGMA user_version = " + std::to_string(kSchemaVersion));
}

}  // namespace pv14::ledger
