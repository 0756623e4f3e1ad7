// The tables of the engine's store. Every data set's content hangs off its
// row in data_sets by the data set's position in the file.
#pragma once

#include <string>
#include <vector>

#include "ledgerengine/Fields.h"
#include "ledgerengine/Sqlite.h"

namespace pv14::ledger {

// PRAGMA user_version of a store this library reads.
inline constexpr int kSchemaVersion = 1901;

// Table names shared by the reading and the writing of the store.
inline constexpr char kStoreInfoTable[] = "store_info";
inline constexpr char kUsersTable[] = "users";
inline constexpr char kDataSetsTable[] = "data_sets";
inline constexpr char kStatementRowsTable[] = "statement_rows";
inline constexpr char kMonthlyTotalsTable[] = "monthly_totals";
inline constexpr char kGeneralSaveTable[] = "general_save_info";
inline constexpr char kRealEstateSaveTable[] = "real_estate_save_info";
inline constexpr char kPropertyCountsTable[] = "rental_property_counts";

// Drops the store's tables and creates them empty, at the current version;
// meant for inside a transaction.
void CreateSchema(Database& db);
// How the open store's tables differ from the ones CreateSchema makes (a
// table or a column missing, ...); empty when they are the same.
std::string SchemaDifference(Database& db);
// The CREATE TABLE statements, in creation order.
std::vector<std::string> SchemaStatements();

}  // namespace pv14::ledger
