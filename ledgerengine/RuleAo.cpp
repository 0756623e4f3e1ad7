// ClRuleAo: the statement lists and monthly totals of a blue data set. On a
// data set of another return kind Ready fails, and so does every list after.
#include "ledgerengine/RuleState.h"
#include "ledgerengine/Session.h"
#include "ledgerengine/Store.h"

using pv14::ledger::CountRows;
using pv14::ledger::kAssets;
using pv14::ledger::kCostOfManufacture;
using pv14::ledger::kLiabilitiesCapital;
using pv14::ledger::kPL;
using pv14::ledger::MoveRow;

ClRuleAo::ClRuleAo() = default;
ClRuleAo::~ClRuleAo() = default;

std::int32_t ClRuleAo::Ready(const StAOSUMCONDITION*) {
  return pv14::ledger::ReadyRules(*impl_, kBlueReturn);
}

std::int32_t ClRuleAo::GetCount_PL(_RuleAoSumType type) { return CountRows(*impl_, type, kPL); }
std::int32_t ClRuleAo::GetCount_BS_Shisan(_RuleAoSumType type) {
  return CountRows(*impl_, type, kAssets);
}
std::int32_t ClRuleAo::GetCount_BS_FusaiShihon(_RuleAoSumType type) {
  return CountRows(*impl_, type, kLiabilitiesCapital);
}
std::int32_t ClRuleAo::GetCount_SeizoGenka() {
  return CountRows(*impl_, RuleAoSumGeneral, kCostOfManufacture);
}

std::int32_t ClRuleAo::MoveFirst_PL(_RuleAoSumType type, StAOSUMINFO* row) {
  return MoveRow(*impl_, type, kPL, true, row);
}
std::int32_t ClRuleAo::MoveNext_PL(_RuleAoSumType type, StAOSUMINFO* row) {
  return MoveRow(*impl_, type, kPL, false, row);
}
std::int32_t ClRuleAo::MoveFirst_BS_Shisan(_RuleAoSumType type, StAOSUMINFO* row) {
  return MoveRow(*impl_, type, kAssets, true, row);
}
std::int32_t ClRuleAo::MoveNext_BS_Shisan(_RuleAoSumType type, StAOSUMINFO* row) {
  return MoveRow(*impl_, type, kAssets, false, row);
}
std::int32_t ClRuleAo::MoveFirst_BS_FusaiShihon(_RuleAoSumType type, StAOSUMINFO* row) {
  return MoveRow(*impl_, type, kLiabilitiesCapital, true, row);
}
std::int32_t ClRuleAo::MoveNext_BS_FusaiShihon(_RuleAoSumType type, StAOSUMINFO* row) {
  return MoveRow(*impl_, type, kLiabilitiesCapital, false, row);
}
std::int32_t ClRuleAo::MoveFirst_SeizoGenka(StAOSUMINFO* row) {
  return MoveRow(*impl_, RuleAoSumGeneral, kCostOfManufacture, true, row);
}
std::int32_t ClRuleAo::MoveNext_SeizoGenka(StAOSUMINFO* row) {
  return MoveRow(*impl_, RuleAoSumGeneral, kCostOfManufacture, false, row);
}

std::int32_t ClRuleAo::GetTsukibetsuUriageShiire(StAOSUMINFO_TSUKIBETSU* totals) {
  if (totals == nullptr) return pv14::ledger::kEngineBadArgument;
  if (!impl_->dataSet) return pv14::ledger::kEngineNotReady;
  return pv14::ledger::WithStore([&](pv14::ledger::Database& store) {
    *totals = pv14::ledger::ReadMonthlyTotals(store, *impl_->dataSet);
    return kEngineOk;
  });
}
