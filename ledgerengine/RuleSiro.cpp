// ClRuleSiro: the profit and loss lists of a white data set. On a data set
// of another return kind Ready fails, and so does every list after.
#include "ledgerengine/RuleState.h"

ClRuleSiro::ClRuleSiro() = default;
ClRuleSiro::~ClRuleSiro() = default;

std::int32_t ClRuleSiro::Ready() { return pv14::ledger::ReadyRules(*impl_, kWhiteReturn); }

std::int32_t ClRuleSiro::GetCount_PL(_RuleSiroSumType type) {
  return pv14::ledger::CountRows(*impl_, type, pv14::ledger::kPL);
}

std::int32_t ClRuleSiro::MoveFirst_PL(_RuleSiroSumType type, StSIROSUMINFO* row) {
  return pv14::ledger::MoveRow(*impl_, type, pv14::ledger::kPL, true, row);
}

std::int32_t ClRuleSiro::MoveNext_PL(_RuleSiroSumType type, StSIROSUMINFO* row) {
  return pv14::ledger::MoveRow(*impl_, type, pv14::ledger::kPL, false, row);
}
