// Writing the whole content of the store from the JSON form's model.
#include <cstring>
#include <string>

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

void WriteRowLists(Database& db, std::int64_t dataSet, std::span<const RowList> lists,
                   const void* model) {
  for (const RowList& list : lists) {
    Inserter rows(db, list.table, "data_set, position", 2, list.fields);
    for (std::size_t i = 0; i < list.count(model); ++i) {
      rows.Insert({dataSet, static_cast<std::int64_t>(i)}, list.row(model, i));
    }
  }
}

void WriteDataSet(Database& db, std::int64_t position, const DataSet& set) {
  Inserter(db, kDataSetsTable, "position", 1, DataInfoFields()).Insert({position}, &set.info);
  Inserter rows(db, kStatementRowsTable, "data_set, summing_type, list, position", 4,
                SumRowFields());
  for (int type = 0; type < kSummingTypes; ++type) {
    for (int list = 0; list < kStatementLists; ++list) {
      const auto& stored = set.statements[type][list];
      for (std::size_t i = 0; i < stored.size(); ++i) {
        rows.Insert({position, type, list, static_cast<std::int64_t>(i)}, &stored[i]);
      }
    }
  }
  Inserter(db, kMonthlyTotalsTable, "data_set", 1, MonthlyTotalsFields())
      .Insert({position}, &set.monthlyTotals);
  Inserter(db, kGeneralSaveTable, "data_set", 1, GeneralSaveFields())
      .Insert({position}, &set.general.values);
  Inserter(db, kRealEstateSaveTable, "data_set", 1, RealEstateSaveFields())
      .Insert({position}, &set.realEstate.values);
  Inserter(db, kPropertyCountsTable, "data_set", 1, PropertyCountsFields())
      .Insert({position}, &set.realEstate.propertyCounts);
  WriteRowLists(db, position, GeneralSaveLists(), &set.general);
  WriteRowLists(db, position, RealEstateSaveLists(), &set.realEstate);
}

StoreInfoRecord StoreInfoOf(const EngineData& data) {
  StoreInfoRecord info{};
  auto copy = [](char* field, std::size_t size, const std::string& text) {
    if (text.size() >= size) throw StoreError("a text is longer than its field");
    std::memcpy(field, text.data(), text.size());
  };
  copy(info.CurrentUserId, sizeof info.CurrentUserId, data.currentUserId);
  if (data.appFolders) {
    info.HasAppFolders = 1;
    copy(info.Documents, sizeof info.Documents, data.appFolders->documents);
    copy(info.Settings, sizeof info.Settings, data.appFolders->settings);
  }
  return info;
}

}  // namespace

void WriteStore(Database& db, const EngineData& data) {
  CreateSchema(db);
  const StoreInfoRecord info = StoreInfoOf(data);
  Inserter(db, kStoreInfoTable, "id", 1, StoreInfoFields()).Insert({1}, &info);
  Inserter users(db, kUsersTable, "position", 1, UserFields());
  for (std::size_t i = 0; i < data.users.size(); ++i) {
    users.Insert({static_cast<std::int64_t>(i)}, &data.users[i]);
  }
  for (std::size_t i = 0; i < data.dataSets.size(); ++i) {
    WriteDataSet(db, static_cast<std::int64_t>(i), data.dataSets[i]);
  }
}

}  // namespace pv14::ledger
