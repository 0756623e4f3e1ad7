// Reading the JSON form: the shape of the file (objects, lists, known keys,
// row limits, unique numbers); single values are FieldValues' business.
#include <algorithm>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/FieldText.h"
#include "ledgerengine/FieldValues.h"
#include "ledgerengine/JsonForm.h"
#include "platform/ShiftJis.h"

namespace pv14::ledger {
namespace {

using Keys = std::vector<std::string_view>;

const Json& Expect(const Json& value, const FormPath& path, bool object) {
  if (object && !value.is_object()) throw FormError(path, "expected an object");
  if (!object && !value.is_array()) throw FormError(path, "expected a list");
  return value;
}

bool IsField(FieldTable fields, std::string_view key) {
  return std::any_of(fields.begin(), fields.end(), [&](const Field& f) { return key == f.key; });
}

// An unknown key is almost always a typo: refuse it rather than drop its value.
void CheckKeys(const Json& object, const FormPath& path, FieldTable fields, const Keys& more) {
  for (const auto& item : object.items()) {
    const std::string& key = item.key();
    if (!IsField(fields, key) && std::find(more.begin(), more.end(), key) == more.end()) {
      throw FormError(path.Key(key), "unknown key");
    }
  }
}

void ReadFields(const Json& object, const FormPath& path, FieldTable fields, void* record) {
  for (const Field& field : fields) {
    if (auto it = object.find(field.key); it != object.end()) {
      ReadField(field, *it, path.Key(field.key), record);
    }
  }
}

void ReadRecordObject(const Json& value, const FormPath& path, FieldTable fields, void* record) {
  Expect(value, path, true);
  CheckKeys(value, path, fields, {});
  ReadFields(value, path, fields, record);
}

const Json* Member(const Json& object, const char* key) {
  auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

std::string RowCount(std::size_t rows, std::size_t limit) {
  return std::to_string(rows) + " rows, at most " + std::to_string(limit);
}

void ReadRowList(const Json& owner, const FormPath& ownerPath, const RowList& list, void* model) {
  const Json* rows = Member(owner, list.key);
  if (rows == nullptr) return;
  const FormPath path = ownerPath.Key(list.key);
  Expect(*rows, path, false);
  if (list.maxRows != 0 && rows->size() > list.maxRows) {
    throw FormError(path, RowCount(rows->size(), list.maxRows));
  }
  for (std::size_t i = 0; i < rows->size(); ++i) {
    ReadRecordObject((*rows)[i], path.Index(i), list.fields, list.append(model));
  }
}

Keys ListKeys(std::span<const RowList> lists) {
  Keys keys;
  for (const RowList& list : lists) keys.push_back(list.key);
  return keys;
}

void ReadGeneralSave(const Json& value, const FormPath& path, GeneralSave& save) {
  Expect(value, path, true);
  CheckKeys(value, path, GeneralSaveFields(), ListKeys(GeneralSaveLists()));
  ReadFields(value, path, GeneralSaveFields(), &save.values);
  for (const RowList& list : GeneralSaveLists()) ReadRowList(value, path, list, &save);
}

void ReadRealEstateSave(const Json& value, const FormPath& path, RealEstateSave& save) {
  Expect(value, path, true);
  Keys keys = ListKeys(RealEstateSaveLists());
  keys.push_back("PropertyCounts");
  CheckKeys(value, path, RealEstateSaveFields(), keys);
  ReadFields(value, path, RealEstateSaveFields(), &save.values);
  if (const Json* counts = Member(value, "PropertyCounts")) {
    ReadRecordObject(*counts, path.Key("PropertyCounts"), PropertyCountsFields(),
                     &save.propertyCounts);
  }
  for (const RowList& list : RealEstateSaveLists()) ReadRowList(value, path, list, &save);
}

void ReadStatements(const Json& value, const FormPath& path, DataSet& set) {
  Expect(value, path, true);
  CheckKeys(value, path, {}, {SummingTypeKey(0), SummingTypeKey(1)});
  for (int type = 0; type < kSummingTypes; ++type) {
    const Json* lists = Member(value, SummingTypeKey(type));
    if (lists == nullptr) continue;
    const FormPath typePath = path.Key(SummingTypeKey(type));
    Expect(*lists, typePath, true);
    Keys keys;
    for (int list = 0; list < kStatementLists; ++list) {
      if (HasStatementList(type, list)) keys.push_back(StatementListKey(list));
    }
    CheckKeys(*lists, typePath, {}, keys);
    for (int list = 0; list < kStatementLists; ++list) {
      const Json* rows =
          HasStatementList(type, list) ? Member(*lists, StatementListKey(list)) : nullptr;
      if (rows == nullptr) continue;
      const FormPath listPath = typePath.Key(StatementListKey(list));
      Expect(*rows, listPath, false);
      for (std::size_t i = 0; i < rows->size(); ++i) {
        ReadRecordObject((*rows)[i], listPath.Index(i), SumRowFields(),
                         &set.statements[type][list].emplace_back());
      }
    }
  }
}

DataSet ReadDataSet(const Json& value, const FormPath& path) {
  DataSet set;
  Expect(value, path, true);
  CheckKeys(value, path, DataInfoFields(),
            {"Statements", "MonthlyTotals", "GeneralSaveInfo", "RealEstateSaveInfo"});
  ReadFields(value, path, DataInfoFields(), &set.info);
  if (const Json* statements = Member(value, "Statements")) {
    ReadStatements(*statements, path.Key("Statements"), set);
  }
  if (const Json* totals = Member(value, "MonthlyTotals")) {
    ReadRecordObject(*totals, path.Key("MonthlyTotals"), MonthlyTotalsFields(), &set.monthlyTotals);
  }
  if (const Json* general = Member(value, "GeneralSaveInfo")) {
    ReadGeneralSave(*general, path.Key("GeneralSaveInfo"), set.general);
  }
  if (const Json* realEstate = Member(value, "RealEstateSaveInfo")) {
    ReadRealEstateSave(*realEstate, path.Key("RealEstateSaveInfo"), set.realEstate);
  }
  return set;
}

std::string ReadFolder(const Json& folders, const FormPath& path, const char* key) {
  const Json* value = Member(folders, key);
  if (value == nullptr) return {};
  std::string folder = ReadText(*value, path.Key(key), kFolderLimit, false);
  if (!folder.empty() && !sjis::EndsWithSingleByte(folder, '\\')) {
    throw FormError(path.Key(key), "a folder must end with a backslash");
  }
  return folder;
}

// Which list a value belongs to, by the steps to that list.
struct ListPlace {
  enum Kind { kOther, kUsers, kDataSets, kStatementRows, kIncomeRows } kind = kOther;
  std::size_t dataSet = 0;
  int type = 0;
  int list = 0;
};

bool IsKey(const JsonStep& step, std::string_view key) { return !step.inList && step.key == key; }

ListPlace PlaceOf(std::span<const JsonStep> steps) {
  ListPlace place;
  if (steps.size() == 1 && IsKey(steps[0], "Users")) place.kind = ListPlace::kUsers;
  if (steps.empty() || !IsKey(steps[0], "DataSets")) return place;
  if (steps.size() == 1) place.kind = ListPlace::kDataSets;
  if (steps.size() < 4 || !steps[1].inList) return place;
  place.dataSet = steps[1].index;
  if (steps.size() == 4 && IsKey(steps[2], "RealEstateSaveInfo") && IsKey(steps[3], "IncomeRows")) {
    place.kind = ListPlace::kIncomeRows;
  }
  if (steps.size() != 5 || !IsKey(steps[2], "Statements")) return place;
  for (int type = 0; type < kSummingTypes; ++type) {
    if (!IsKey(steps[3], SummingTypeKey(type))) continue;
    for (int list = 0; list < kStatementLists; ++list) {
      if (HasStatementList(type, list) && IsKey(steps[4], StatementListKey(list))) {
        place.kind = ListPlace::kStatementRows;
        place.type = type;
        place.list = list;
      }
    }
  }
  return place;
}

// Reads the values of the long lists as the parser completes them and hands
// them on: the document never holds more than one data set, without its
// rows.
class ListReader {
 public:
  explicit ListReader(EngineSink& sink) : sink_(sink) {}

  bool Take(std::span<const JsonStep> steps, std::size_t index, const FormPath& path,
            const Json& value) {
    const ListPlace place = PlaceOf(steps);
    if (place.kind == ListPlace::kOther) return false;
    Expect(value, path, true);
    switch (place.kind) {
      case ListPlace::kUsers:
        User(index, path, value);
        break;
      case ListPlace::kDataSets:
        Set(index, path, value);
        break;
      case ListPlace::kStatementRows: {
        StAOSUMINFO row{};
        ReadRecordObject(value, path, SumRowFields(), &row);
        sink_.StatementRow(place.dataSet, place.type, place.list, index, row);
        break;
      }
      case ListPlace::kIncomeRows: {
        RealEstateIncomeRow row{};
        ReadRecordObject(value, path, IncomeRowFields(), &row);
        // The engine ends the delivered list with a -1 row of its own.
        if (row.RowKey == kIncomeRowsEnd) {
          throw FormError(path.Key("RowKey"), "-1 is kept for the end of the list");
        }
        sink_.IncomeRow(place.dataSet, index, row);
        break;
      }
      case ListPlace::kOther:
        break;
    }
    return true;
  }

 private:
  void User(std::size_t index, const FormPath& path, const Json& value) {
    UserEntry user{};
    ReadRecordObject(value, path, UserFields(), &user);
    if (auto [it, added] = userIds_.emplace(std::string(FieldText(user.UserId)), index); !added) {
      throw FormError(path.Key("UserId"),
                      "the user is already listed as Users[" + std::to_string(it->second) + "]");
    }
    sink_.User(index, user);
  }

  void Set(std::size_t index, const FormPath& path, const Json& value) {
    DataSet set = ReadDataSet(value, path);
    const std::int32_t number = set.info.DataNo;
    if (auto [it, added] = dataNumbers_.emplace(number, index); !added) {
      throw FormError(path.Key("DataNo"), std::to_string(number) +
                                              " is already the DataNo of DataSets[" +
                                              std::to_string(it->second) + "]");
    }
    sink_.Set(index, std::move(set));
  }

  EngineSink& sink_;
  std::map<std::string, std::size_t> userIds_;
  std::map<std::int32_t, std::size_t> dataNumbers_;  // DataNo -> index
};

// Gathers the pieces into the model.
class Gather : public EngineSink {
 public:
  explicit Gather(EngineData& data) : data_(data) {}

  void User(std::size_t, const UserEntry& user) override { data_.users.push_back(user); }
  void StatementRow(std::size_t dataSet, int type, int list, std::size_t,
                    const StAOSUMINFO& row) override {
    Slot(dataSet).statements[type][list].push_back(row);
  }
  void IncomeRow(std::size_t dataSet, std::size_t, const RealEstateIncomeRow& row) override {
    Slot(dataSet).realEstate.incomeRows.push_back(row);
  }
  void Set(std::size_t position, DataSet&& set) override {
    DataSet& slot = Slot(position);
    for (int type = 0; type < kSummingTypes; ++type) {
      for (int list = 0; list < kStatementLists; ++list) {
        set.statements[type][list] = std::move(slot.statements[type][list]);
      }
    }
    set.realEstate.incomeRows = std::move(slot.realEstate.incomeRows);
    slot = std::move(set);
  }
  void Top(const std::string& currentUserId, const std::optional<AppFolders>& folders) override {
    data_.currentUserId = currentUserId;
    data_.appFolders = folders;
  }

 private:
  DataSet& Slot(std::size_t position) {
    if (data_.dataSets.size() <= position) data_.dataSets.resize(position + 1);
    return data_.dataSets[position];
  }

  EngineData& data_;
};

}  // namespace

void ReadEngineJson(std::string_view text, EngineSink& sink) {
  ListReader reader(sink);
  const Json document = ParseJsonDocument(
      text, [&](std::span<const JsonStep> steps, std::size_t index, const FormPath& path,
                Json& value) { return reader.Take(steps, index, path, value); });
  const FormPath top;
  Expect(document, top, true);
  CheckKeys(document, top, {}, {"CurrentUserId", "AppFolders", "Users", "DataSets"});
  std::string currentUserId;
  if (const Json* user = Member(document, "CurrentUserId")) {
    currentUserId = ReadText(*user, top.Key("CurrentUserId"), kUserIdLimit, false);
  }
  std::optional<AppFolders> appFolders;
  if (const Json* folders = Member(document, "AppFolders")) {
    const FormPath path = top.Key("AppFolders");
    Expect(*folders, path, true);
    CheckKeys(*folders, path, {}, {"Documents", "Settings"});
    appFolders =
        AppFolders{ReadFolder(*folders, path, "Documents"), ReadFolder(*folders, path, "Settings")};
  }
  // Their values were taken as they came; what is left says they are lists.
  for (const char* list : {"Users", "DataSets"}) {
    if (const Json* value = Member(document, list)) Expect(*value, top.Key(list), false);
  }
  sink.Top(currentUserId, appFolders);
}

EngineData ReadEngineJson(std::string_view text) {
  EngineData data;
  Gather gather(data);
  ReadEngineJson(text, gather);
  return data;
}

}  // namespace pv14::ledger
