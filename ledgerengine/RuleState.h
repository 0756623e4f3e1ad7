// What a rule object holds between calls: the data set it serves and where
// each of its statement lists stands. ClRuleAo and ClRuleSiro share it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/LedgerEngine.h"
#include "ledgerengine/EngineData.h"

struct ClRuleBase::Impl {
  std::optional<std::string> dataId;  // absent until SetCurDataID
  ClSetMgr* setMgr = nullptr;
  ClOptLink* optLink = nullptr;
  // Set by Ready: the data set's position in the store.
  std::optional<std::int64_t> dataSet;
  // Per list, the position of the row last delivered; absent before MoveFirst.
  std::optional<std::int64_t> delivered[pv14::ledger::kSummingTypes][pv14::ledger::kStatementLists];
};

namespace pv14::ledger {

// Makes the rule object serve its data set when that is of returnKind.
std::int32_t ReadyRules(ClRuleBase::Impl& rules, std::uint8_t returnKind);
// Rows in a list; 0 when not ready or the list does not exist.
std::int32_t CountRows(const ClRuleBase::Impl& rules, int type, int list);
// Delivers the first (first = true) or the next row of a list into *row:
// 0 a row, 5000 no more rows.
std::int32_t MoveRow(ClRuleBase::Impl& rules, int type, int list, bool first, StAOSUMINFO* row);
// The same for a white data set's rows.
std::int32_t MoveRow(ClRuleBase::Impl& rules, int type, int list, bool first, StSIROSUMINFO* row);

}  // namespace pv14::ledger
