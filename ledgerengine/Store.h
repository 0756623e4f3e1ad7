// The engine's content in its database: written whole by the tool, read
// whole for the dump, and queried piece by piece by the engine's classes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ledgerengine/EngineData.h"
#include "ledgerengine/Sqlite.h"

namespace pv14::ledger {

// Replaces the whole content; meant for inside a transaction.
void WriteStore(Database& db, const EngineData& data);
// The same from the JSON form, read and written a piece at a time; returns
// the data sets written. Throws FormError as ReadEngineJson does.
std::size_t WriteStoreFromJson(Database& db, std::string_view jsonText);
// The whole content, for the dump.
EngineData ReadStore(Database& db);

StoreInfoRecord ReadStoreInfo(Database& db);
// The user this process works as: $LEDGER_ENGINE_USER (its bytes, cut to the
// field's 64) when set and not empty, as several users share one store;
// else the store's current user.
std::string SessionUserId(const StoreInfoRecord& info);
std::optional<UserEntry> FindUser(Database& db, std::string_view userId);

// A data set with its place in the file (the key of everything it holds).
struct DataSetRow {
  std::int64_t position;
  StDATAINFO info;
};
// The first data set after position, in file order (position -1: the first).
std::optional<DataSetRow> DataSetAfter(Database& db, std::int64_t position);
std::optional<DataSetRow> FindDataSetByNo(Database& db, std::int32_t dataNo);
// The first data set in file order with that id.
std::optional<DataSetRow> FindDataSetById(Database& db, std::string_view dataId);

struct SumRowAt {
  std::int64_t position;
  StAOSUMINFO row;
};
std::int64_t CountStatementRows(Database& db, std::int64_t dataSet, int type, int list);
// The first row of the list after position (-1: the first row).
std::optional<SumRowAt> StatementRowAfter(Database& db, std::int64_t dataSet, int type, int list,
                                          std::int64_t position);

StAOSUMINFO_TSUKIBETSU ReadMonthlyTotals(Database& db, std::int64_t dataSet);
GeneralSave ReadGeneralSave(Database& db, std::int64_t dataSet);
// withIncomeRows false leaves the income rows to ReadIncomeRows.
RealEstateSave ReadRealEstateSave(Database& db, std::int64_t dataSet, bool withIncomeRows = true);
// The income rows straight into the caller's block, which may be large: at
// most count rows, in order; how many were read.
std::int64_t CountIncomeRows(Database& db, std::int64_t dataSet);
std::size_t ReadIncomeRows(Database& db, std::int64_t dataSet, RealEstateIncomeRow* rows,
                           std::size_t count);

}  // namespace pv14::ledger
