// Writing the JSON form: every key, in the order the form describes, so a
// dump read back gives the same store.
#include "ledgerengine/FieldValues.h"
#include "ledgerengine/JsonForm.h"

namespace pv14::ledger {
namespace {

void WriteFields(Json& object, const FormPath& path, FieldTable fields, const void* record) {
  for (const Field& field : fields) {
    object[field.key] = WriteField(field, record, path.Key(field.key));
  }
}

Json RecordObject(const FormPath& path, FieldTable fields, const void* record) {
  Json object = Json::object();
  WriteFields(object, path, fields, record);
  return object;
}

void WriteRowLists(Json& object, const FormPath& path, std::span<const RowList> lists,
                   const void* model) {
  for (const RowList& list : lists) {
    const FormPath listPath = path.Key(list.key);
    Json rows = Json::array();
    for (std::size_t i = 0; i < list.count(model); ++i) {
      rows.push_back(RecordObject(listPath.Index(i), list.fields, list.row(model, i)));
    }
    object[list.key] = std::move(rows);
  }
}

Json StatementsJson(const DataSet& set, const FormPath& path) {
  Json statements = Json::object();
  for (int type = 0; type < kSummingTypes; ++type) {
    const FormPath typePath = path.Key(SummingTypeKey(type));
    Json lists = Json::object();
    for (int list = 0; list < kStatementLists; ++list) {
      if (!HasStatementList(type, list)) continue;
      const FormPath listPath = typePath.Key(StatementListKey(list));
      Json rows = Json::array();
      const auto& stored = set.statements[type][list];
      for (std::size_t i = 0; i < stored.size(); ++i) {
        rows.push_back(RecordObject(listPath.Index(i), SumRowFields(), &stored[i]));
      }
      lists[StatementListKey(list)] = std::move(rows);
    }
    statements[SummingTypeKey(type)] = std::move(lists);
  }
  return statements;
}

Json DataSetJson(const DataSet& set, const FormPath& path) {
  Json object = RecordObject(path, DataInfoFields(), &set.info);
  object["Statements"] = StatementsJson(set, path.Key("Statements"));
  object["MonthlyTotals"] =
      RecordObject(path.Key("MonthlyTotals"), MonthlyTotalsFields(), &set.monthlyTotals);

  const FormPath generalPath = path.Key("GeneralSaveInfo");
  Json general = RecordObject(generalPath, GeneralSaveFields(), &set.general.values);
  WriteRowLists(general, generalPath, GeneralSaveLists(), &set.general);
  object["GeneralSaveInfo"] = std::move(general);

  const FormPath realEstatePath = path.Key("RealEstateSaveInfo");
  Json realEstate = RecordObject(realEstatePath, RealEstateSaveFields(), &set.realEstate.values);
  WriteRowLists(realEstate, realEstatePath, RealEstateSaveLists(), &set.realEstate);
  realEstate["PropertyCounts"] = RecordObject(
      realEstatePath.Key("PropertyCounts"), PropertyCountsFields(), &set.realEstate.propertyCounts);
  object["RealEstateSaveInfo"] = std::move(realEstate);
  return object;
}

}  // namespace

Json WriteEngineJson(const EngineData& data) {
  const FormPath top;
  Json document = Json::object();
  document["CurrentUserId"] = TextJson(data.currentUserId, top.Key("CurrentUserId"));
  if (data.appFolders) {
    const FormPath path = top.Key("AppFolders");
    document["AppFolders"] = {
        {"Documents", TextJson(data.appFolders->documents, path.Key("Documents"))},
        {"Settings", TextJson(data.appFolders->settings, path.Key("Settings"))}};
  }
  Json users = Json::array();
  for (std::size_t i = 0; i < data.users.size(); ++i) {
    users.push_back(RecordObject(top.Key("Users").Index(i), UserFields(), &data.users[i]));
  }
  document["Users"] = std::move(users);
  Json sets = Json::array();
  for (std::size_t i = 0; i < data.dataSets.size(); ++i) {
    sets.push_back(DataSetJson(data.dataSets[i], top.Key("DataSets").Index(i)));
  }
  document["DataSets"] = std::move(sets);
  return document;
}

}  // namespace pv14::ledger
