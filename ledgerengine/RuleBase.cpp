// ClRuleBase: the data set a rule object serves, and the walk of its lists.
#include <cstring>
#include <limits>

#include "ledgerengine/RuleState.h"
#include "ledgerengine/Session.h"
#include "ledgerengine/Store.h"

ClRuleBase::ClRuleBase() : impl_(new Impl) {}
ClRuleBase::~ClRuleBase() { delete impl_; }

std::int32_t ClRuleBase::AttachSetMgr(ClSetMgr* mgr) {
  if (mgr == nullptr) return pv14::ledger::kEngineBadArgument;
  impl_->setMgr = mgr;
  return kEngineOk;
}

std::int32_t ClRuleBase::SetCurDataID(const char* dataId) {
  if (dataId == nullptr) return pv14::ledger::kEngineBadArgument;
  impl_->dataId = dataId;
  impl_->dataSet.reset();  // Ready again for the new data set
  return kEngineOk;
}

std::int32_t ClRuleBase::AttachOptLink(ClOptLink* link) {
  if (link == nullptr) return pv14::ledger::kEngineBadArgument;
  impl_->optLink = link;
  return kEngineOk;
}

namespace pv14::ledger {
namespace {

bool IsList(int type, int list) {
  return type >= 0 && type < kSummingTypes && list >= 0 && list < kStatementLists &&
         HasStatementList(type, list);
}

}  // namespace

std::int32_t ReadyRules(ClRuleBase::Impl& rules, std::uint8_t returnKind) {
  rules.dataSet.reset();
  for (auto& lists : rules.delivered) {
    for (auto& position : lists) position.reset();
  }
  if (!rules.dataId) return kEngineNotReady;
  return WithStore([&](Database& store) {
    const std::optional<DataSetRow> set = FindDataSetById(store, *rules.dataId);
    if (!set) return kEngineNoDataSet;
    if (set->info.ReturnKind != returnKind) return kEngineWrongReturnKind;
    rules.dataSet = set->position;
    return kEngineOk;
  });
}

std::int32_t CountRows(const ClRuleBase::Impl& rules, int type, int list) {
  if (!rules.dataSet || !IsList(type, list)) return 0;
  std::int32_t count = 0;
  WithStore([&](Database& store) {
    const std::int64_t rows = CountStatementRows(store, *rules.dataSet, type, list);
    count = static_cast<std::int32_t>(
        std::min<std::int64_t>(rows, std::numeric_limits<std::int32_t>::max()));
    return kEngineOk;
  });
  return count;
}

std::int32_t MoveRow(ClRuleBase::Impl& rules, int type, int list, bool first, StAOSUMINFO* row) {
  if (row == nullptr || !IsList(type, list)) return kEngineBadArgument;
  if (!rules.dataSet) return kEngineNotReady;
  std::optional<std::int64_t>& delivered = rules.delivered[type][list];
  if (!first && !delivered) return kEngineNotReady;  // MoveNext before MoveFirst
  return WithStore([&](Database& store) {
    const auto next = StatementRowAfter(store, *rules.dataSet, type, list, first ? -1 : *delivered);
    if (!next) {
      if (first) delivered = -1;
      return kEngineNoMoreRows;
    }
    *row = next->row;
    delivered = next->position;
    return kEngineOk;
  });
}

std::int32_t MoveRow(ClRuleBase::Impl& rules, int type, int list, bool first, StSIROSUMINFO* row) {
  if (row == nullptr) return kEngineBadArgument;
  StAOSUMINFO blue{};
  const std::int32_t result = MoveRow(rules, type, list, first, &blue);
  if (result != kEngineOk) return result;
  static_assert(sizeof row->ItemName == sizeof blue.ItemName);
  row->LineNo = blue.LineNo;
  row->Code = blue.Code;
  std::memcpy(row->ItemName, blue.ItemName, sizeof row->ItemName);
  row->OpeningBalance = blue.OpeningBalance;
  row->ClosingBalance = blue.ClosingBalance;
  return kEngineOk;
}

}  // namespace pv14::ledger
