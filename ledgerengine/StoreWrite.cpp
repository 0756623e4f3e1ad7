// Writing the whole content of the store, from the JSON form or its model.
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "ledgerengine/JsonForm.h"
#include "ledgerengine/RecordColumns.h"
#include "ledgerengine/Schema.h"
#include "ledgerengine/Store.h"

namespace pv14::ledger {
namespace {

std::string Placeholders(int count) {
  std::string marks;
  for (int i = 0; i < count; ++i) marks += i == 0 ? "?" : ", ?";
  return marks;
}

// An INSERT for keys (leading columns bound first) followed by the fields.
class Inserter {
 public:
  Inserter(Database& db, const std::string& table, const std::string& keys, int keyCount,
           FieldTable fields)
      : fields_(fields), keyCount_(keyCount) {
    statement_ = db.Prepare("INSERT INTO " + table + " (" + keys + ", " + ColumnNames(fields) +
                            ") VALUES (" + Placeholders(keyCount + ColumnCount(fields)) + ")");
  }

  void Insert(std::initializer_list<std::int64_t> keys, const void* record) {
    int index = 1;
    for (std::int64_t key : keys) statement_->Bind(index++, key);
    BindRecord(*statement_, keyCount_ + 1, fields_, record);
    statement_->Step();
    statement_->Reset();
  }

 private:
  FieldTable fields_;
  int keyCount_;
  std::unique_ptr<Statement> statement_;
};

StoreInfoRecord StoreInfoOf(const std::string& currentUserId,
                            const std::optional<AppFolders>& folders) {
  StoreInfoRecord info{};
  auto copy = [](char* field, std::size_t size, const std::string& text) {
    if (text.size() >= size) throw StoreError("a text is longer than its field");
    std::memcpy(field, text.data(), text.size());
  };
  copy(info.CurrentUserId, sizeof info.CurrentUserId, currentUserId);
  if (folders) {
    info.HasAppFolders = 1;
    copy(info.Documents, sizeof info.Documents, folders->documents);
    copy(info.Settings, sizeof info.Settings, folders->settings);
  }
  return info;
}

// Writes each piece as it comes, with statements prepared once: rows come
// before their data set, so the keys are checked when the transaction ends.
class StoreWriter : public EngineSink {
 public:
  explicit StoreWriter(Database& db)
      : db_(WithSchema(db)),
        users_(db, kUsersTable, "position", 1, UserFields()),
        dataSets_(db, kDataSetsTable, "position", 1, DataInfoFields()),
        statementRows_(db, kStatementRowsTable, "data_set, summing_type, list, position", 4,
                       SumRowFields()),
        monthlyTotals_(db, kMonthlyTotalsTable, "data_set", 1, MonthlyTotalsFields()),
        generalSave_(db, kGeneralSaveTable, "data_set", 1, GeneralSaveFields()),
        realEstateSave_(db, kRealEstateSaveTable, "data_set", 1, RealEstateSaveFields()),
        propertyCounts_(db, kPropertyCountsTable, "data_set", 1, PropertyCountsFields()) {
    for (auto lists : {GeneralSaveLists(), RealEstateSaveLists()}) {
      for (const RowList& list : lists) {
        rowLists_.push_back(
            std::make_unique<Inserter>(db, list.table, "data_set, position", 2, list.fields));
        if (list.fields.data() == IncomeRowFields().data()) incomeRows_ = rowLists_.back().get();
      }
    }
  }

  std::size_t DataSets() const { return dataSetCount_; }

  void User(std::size_t position, const UserEntry& user) override {
    users_.Insert({Key(position)}, &user);
  }
  void StatementRow(std::size_t dataSet, int type, int list, std::size_t position,
                    const StAOSUMINFO& row) override {
    statementRows_.Insert({Key(dataSet), type, list, Key(position)}, &row);
  }
  void IncomeRow(std::size_t dataSet, std::size_t position,
                 const RealEstateIncomeRow& row) override {
    incomeRows_->Insert({Key(dataSet), Key(position)}, &row);
  }
  void Set(std::size_t position, DataSet&& set) override {
    const std::int64_t key = Key(position);
    dataSets_.Insert({key}, &set.info);
    for (int type = 0; type < kSummingTypes; ++type) {
      for (int list = 0; list < kStatementLists; ++list) {
        const auto& rows = set.statements[type][list];
        for (std::size_t i = 0; i < rows.size(); ++i)
          StatementRow(position, type, list, i, rows[i]);
      }
    }
    monthlyTotals_.Insert({key}, &set.monthlyTotals);
    generalSave_.Insert({key}, &set.general.values);
    realEstateSave_.Insert({key}, &set.realEstate.values);
    propertyCounts_.Insert({key}, &set.realEstate.propertyCounts);
    std::size_t at = 0;
    for (auto [lists, model] :
         {std::pair<std::span<const RowList>, const void*>{GeneralSaveLists(), &set.general},
          {RealEstateSaveLists(), &set.realEstate}}) {
      for (const RowList& list : lists) {
        Inserter& rows = *rowLists_[at++];
        for (std::size_t i = 0; i < list.count(model); ++i) {
          rows.Insert({key, Key(i)}, list.row(model, i));
        }
      }
    }
    ++dataSetCount_;
  }
  void Top(const std::string& currentUserId, const std::optional<AppFolders>& folders) override {
    const StoreInfoRecord info = StoreInfoOf(currentUserId, folders);
    Inserter(db_, kStoreInfoTable, "id", 1, StoreInfoFields()).Insert({1}, &info);
  }

 private:
  static std::int64_t Key(std::size_t position) { return static_cast<std::int64_t>(position); }
  static Database& WithSchema(Database& db) {
    db.Exec("PRAGMA defer_foreign_keys = ON");
    CreateSchema(db);
    return db;
  }

  Database& db_;
  Inserter users_, dataSets_, statementRows_, monthlyTotals_, generalSave_, realEstateSave_,
      propertyCounts_;
  std::vector<std::unique_ptr<Inserter>> rowLists_;  // in the order of the lists
  Inserter* incomeRows_ = nullptr;
  std::size_t dataSetCount_ = 0;
};

}  // namespace

void WriteStore(Database& db, const EngineData& data) {
  StoreWriter writer(db);
  for (std::size_t i = 0; i < data.users.size(); ++i) writer.User(i, data.users[i]);
  for (std::size_t i = 0; i < data.dataSets.size(); ++i) {
    writer.Set(i, DataSet(data.dataSets[i]));
  }
  writer.Top(data.currentUserId, data.appFolders);
}

std::size_t WriteStoreFromJson(Database& db, std::string_view jsonText) {
  StoreWriter writer(db);
  ReadEngineJson(jsonText, writer);
  return writer.DataSets();
}

}  // namespace pv14::ledger
