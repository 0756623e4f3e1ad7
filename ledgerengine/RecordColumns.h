// A record's fields as database columns: one column per field (a list of n
// amounts is n columns), texts as BLOBs holding the Shift_JIS bytes.
#pragma once

#include <string>

#include "ledgerengine/Fields.h"
#include "ledgerengine/Sqlite.h"

namespace pv14::ledger {

// "\"LineNo\", \"Code\", ..."
std::string ColumnNames(FieldTable fields);
// "\"LineNo\" INTEGER NOT NULL CHECK (...), ..." for CREATE TABLE.
std::string ColumnDefinitions(FieldTable fields);
int ColumnCount(FieldTable fields);

// Binds the record's fields to parameters first, first + 1, ...
void BindRecord(Statement& statement, int first, FieldTable fields, const void* record);
// Fills the record from columns first, first + 1, ...; a text longer than its
// field is cut and an integer outside its type refused, never overrun.
void ReadRecord(const Statement& statement, int first, FieldTable fields, void* record);

}  // namespace pv14::ledger
