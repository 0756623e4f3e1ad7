// Reading the JSON form: the shape of the file (objects, lists, known keys,
// row limits, unique numbers); single values are FieldValues' business.
#include <algorithm>
#include <map>
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
  // The engine ends the delivered list with a -1 row of its own.
  for (std::size_t i = 0; i < save.incomeRows.size(); ++i) {
    if (save.incomeRows[i].RowKey == kIncomeRowsEnd) {
      throw FormError(path.Key("IncomeRows").Index(i).Key("RowKey"),
                      "-1 is kept for the end of the list");
    }
  }
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

void ReadDataSets(const Json& value, const FormPath& path, EngineData& data) {
  Expect(value, path, false);
  std::map<std::int32_t, std::size_t> numbers;  // DataNo -> index
  for (std::size_t i = 0; i < value.size(); ++i) {
    data.dataSets.push_back(ReadDataSet(value[i], path.Index(i)));
    const std::int32_t number = data.dataSets.back().info.DataNo;
    if (auto [it, added] = numbers.emplace(number, i); !added) {
      throw FormError(path.Index(i).Key("DataNo"), std::to_string(number) +
                                                       " is already the DataNo of DataSets[" +
                                                       std::to_string(it->second) + "]");
    }
  }
}

void ReadUsers(const Json& value, const FormPath& path, EngineData& data) {
  Expect(value, path, false);
  std::map<std::string, std::size_t> ids;
  for (std::size_t i = 0; i < value.size(); ++i) {
    UserEntry& user = data.users.emplace_back();
    ReadRecordObject(value[i], path.Index(i), UserFields(), &user);
    if (auto [it, added] = ids.emplace(std::string(FieldText(user.UserId)), i); !added) {
      throw FormError(path.Index(i).Key("UserId"),
                      "the user is already listed as Users[" + std::to_string(it->second) + "]");
    }
  }
}

}  // namespace

EngineData ReadEngineJson(std::string_view text) {
  const Json document = ParseJsonDocument(text);
  const FormPath top;
  Expect(document, top, true);
  CheckKeys(document, top, {}, {"CurrentUserId", "AppFolders", "Users", "DataSets"});
  EngineData data;
  if (const Json* user = Member(document, "CurrentUserId")) {
    data.currentUserId = ReadText(*user, top.Key("CurrentUserId"), kUserIdLimit, false);
  }
  if (const Json* folders = Member(document, "AppFolders")) {
    const FormPath path = top.Key("AppFolders");
    Expect(*folders, path, true);
    CheckKeys(*folders, path, {}, {"Documents", "Settings"});
    data.appFolders =
        AppFolders{ReadFolder(*folders, path, "Documents"), ReadFolder(*folders, path, "Settings")};
  }
  if (const Json* users = Member(document, "Users")) ReadUsers(*users, top.Key("Users"), data);
  if (const Json* sets = Member(document, "DataSets")) {
    ReadDataSets(*sets, top.Key("DataSets"), data);
  }
  return data;
}

}  // namespace pv14::ledger
