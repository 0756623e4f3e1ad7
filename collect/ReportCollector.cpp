#include "collect/ReportCollector.h"

#include <cstring>
#include <new>

#include "engine/FieldText.h"
#include "platform/TaskMem.h"

namespace pv14 {
namespace {

constexpr std::int16_t kBusinessIncome = 1;
constexpr std::int16_t kOtherIncome = 2;
constexpr std::int16_t kRealEstateIncome = 3;
constexpr std::uint8_t kBothStatements = 3;
constexpr std::int32_t kRealEstateIncomeLine = 21;

constexpr ReportCollector::Recoding kBlueGeneralProfit{1, 101};
constexpr ReportCollector::Recoding kBlueLiabilitiesCapital{24, 999};
constexpr ReportCollector::Recoding kWhiteGeneralProfit{37, 998};
constexpr ReportCollector::Recoding kWhiteRealEstateProfit{19, 998};

bool RowCallOk(std::int32_t result) { return result == kEngineOk || result == kEngineNoMoreRows; }

// The one condition every Ready is given: first byte 0xFF, the rest zero.
StAOSUMCONDITION SummingCondition() {
  StAOSUMCONDITION condition;
  std::memset(&condition, 0, sizeof condition);
  condition.Bytes[0] = 0xFF;
  return condition;
}

// The data id of the engine's own selected record; empty when the engine
// has no data-set object or no selection.
std::string SelectedDataId() {
  ClSetData* sets = ClDataMgr::Inst()->GetSetObject(kDataSetObjectKind, kDataSetObjectSub);
  const StDATAINFO* selected = sets != nullptr ? sets->GetSelectedInfo() : nullptr;
  return selected != nullptr ? std::string(FieldText(selected->DataId)) : std::string();
}

// Engine objects are made on first need and kept for the rest of the
// collection; each serves the selected data set.
template <class Object>
bool CreateForSelectedData(std::unique_ptr<Object>& object) {
  try {
    object = std::make_unique<Object>();
  } catch (const std::bad_alloc&) {
    return false;
  }
  object->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());
  object->SetCurDataID(SelectedDataId().c_str());
  return true;
}

template <class Rule>
bool CreateRule(std::unique_ptr<Rule>& rule) {
  if (rule) return true;
  if (!CreateForSelectedData(rule)) return false;
  rule->AttachOptLink(ClLinkMgr::Inst()->GetOptLink());
  return true;
}

template <class Block>
void Replace(Block*& member, Block* fresh) {
  if (member != fresh) CoTaskMemFree(member);
  member = fresh;
}

// The store owns the blocks: older ones (an earlier collection) are freed.
template <class Info>
void Adopt(Info& store, const Info& fresh) {
  ForEachBlock(store, [&](auto member) { Replace(store.*member, fresh.*member); });
}

template <class Row>
void Recode(Row& row, const std::optional<ReportCollector::Recoding>& recoding) {
  if (recoding && row.LineNo == recoding->lineNo) row.Code = recoding->code;
}

}  // namespace

ReportCollector::ReportCollector(Progress* progress, CollectedData* data)
    : progress_(progress), data_(data) {}

ReportCollector::~ReportCollector() {
  save_.reset();
  white_.reset();
  blue_.reset();
}

int ReportCollector::Collect(const StDATAINFO& record, std::int16_t incomeKind) {
  if (data_ == nullptr) return 0;
  if (!ReadSavedDetails()) return 0;

  const bool general = incomeKind == kBusinessIncome || incomeKind == kOtherIncome;
  const bool realEstate = incomeKind == kRealEstateIncome;
  if (record.ReturnKind == kBlueReturn) {
    if (general) {
      if (BlueSequence(RuleAoSumGeneral) && ReadMonthlyTotals() &&
          record.StatementScope == kBothStatements) {
        TransferRealEstateIncome();
      }
    } else if (realEstate) {
      BlueSequence(RuleAoSumRealEstate);
    }
  } else if (record.ReturnKind == kWhiteReturn) {
    if (general) {
      WhiteSequence(RuleSiroSumGeneral);
    } else if (realEstate) {
      WhiteSequence(RuleSiroSumRealEstate);
    }
  } else {
    return 0;
  }
  return 1;
}

// ------------------------------------------------------ engine objects

bool ReportCollector::EnsureSaveObject() { return save_ || CreateForSelectedData(save_); }

bool ReportCollector::EnsureBlue() { return CreateRule(blue_); }

bool ReportCollector::EnsureWhite() { return CreateRule(white_); }

bool ReportCollector::MakeBlueReady() {
  if (ready_) return true;
  const StAOSUMCONDITION condition = SummingCondition();
  if (blue_->Ready(&condition) != kEngineOk) return false;
  ready_ = 1;
  return true;
}

// ------------------------------------------------------ saved details

bool ReportCollector::ReadSavedDetails() {
  if (!EnsureSaveObject()) return false;
  // Read into empty records so that a failed read never leaves the store
  // pointing at blocks the engine has taken back.
  StAOSIROSAVEINFO_IPPAN general;
  std::memset(&general, 0, sizeof general);
  if (save_->GetDataIppan(&general) != kEngineOk) return false;
  Adopt(data_->GeneralSaveInfo, general);

  StAOSIROSAVEINFO_FUDOUSAN realEstate;
  std::memset(&realEstate, 0, sizeof realEstate);
  if (save_->GetDataFudousan(&realEstate) != kEngineOk) return false;
  Adopt(data_->RealEstateSaveInfo, realEstate);
  return true;
}

// ------------------------------------------------------ statement rows

void ReportCollector::Append(const StAOSUMINFO& row) { data_->SumRows.push_back(row); }

void ReportCollector::Append(const StSIROSUMINFO& row) {
  SumRecord copy;
  copy.LineNo = row.LineNo;
  copy.Code = row.Code;
  std::memcpy(copy.ItemName, row.ItemName, sizeof copy.ItemName);
  copy.OpeningBalance = row.OpeningBalance;
  copy.ClosingBalance = row.ClosingBalance;
  data_->SumRows.push_back(copy);
}

template <class Row, class First, class Next>
bool ReportCollector::CopyList(std::int32_t count, First first, Next next,
                               std::optional<Recoding> recoding) {
  Row row;
  std::memset(&row, 0, sizeof row);
  std::int32_t result = first(&row);
  if (!RowCallOk(result)) return false;
  // No first row means nothing to copy, whatever the count claimed: the
  // buffer holds no row then.
  if (result == kEngineNoMoreRows) return true;
  for (std::int32_t i = 0; i < count; ++i) {
    Pump();
    Recode(row, recoding);
    try {
      Append(row);
    } catch (const std::bad_alloc&) {
      result = kAllocationFailed;
      break;
    }
    result = next(&row);
    if (result != kEngineOk) break;
  }
  return RowCallOk(result);
}

bool ReportCollector::BlueSequence(_RuleAoSumType type) {
  if (!EnsureBlue()) return false;
  Advance(progress::kCollectStart, progress::kCollectReady);
  const StAOSUMCONDITION condition = SummingCondition();
  if (blue_->Ready(&condition) != kEngineOk) return false;
  ready_ = 1;
  Advance(progress::kCollectReady, progress::kCollectListing);

  ClRuleAo& rule = *blue_;
  const std::int32_t profitCount = rule.GetCount_PL(type);
  const std::int32_t assetCount = rule.GetCount_BS_Shisan(type);
  const std::int32_t liabilityCount = rule.GetCount_BS_FusaiShihon(type);
  const std::int32_t costCount = type == RuleAoSumGeneral ? rule.GetCount_SeizoGenka() : 0;

  const std::optional<Recoding> profitRecoding =
      type == RuleAoSumGeneral ? std::optional(kBlueGeneralProfit) : std::nullopt;
  if (!CopyList<StAOSUMINFO>(
          profitCount, [&](StAOSUMINFO* row) { return rule.MoveFirst_PL(type, row); },
          [&](StAOSUMINFO* row) { return rule.MoveNext_PL(type, row); }, profitRecoding)) {
    return false;
  }
  if (!CopyList<StAOSUMINFO>(
          assetCount, [&](StAOSUMINFO* row) { return rule.MoveFirst_BS_Shisan(type, row); },
          [&](StAOSUMINFO* row) { return rule.MoveNext_BS_Shisan(type, row); }, std::nullopt)) {
    return false;
  }
  if (!CopyList<StAOSUMINFO>(
          liabilityCount,
          [&](StAOSUMINFO* row) { return rule.MoveFirst_BS_FusaiShihon(type, row); },
          [&](StAOSUMINFO* row) { return rule.MoveNext_BS_FusaiShihon(type, row); },
          kBlueLiabilitiesCapital)) {
    return false;
  }
  // Read whatever the record says about keeping the statement.
  if (type == RuleAoSumGeneral &&
      !CopyList<StAOSUMINFO>(
          costCount, [&](StAOSUMINFO* row) { return rule.MoveFirst_SeizoGenka(row); },
          [&](StAOSUMINFO* row) { return rule.MoveNext_SeizoGenka(row); }, std::nullopt)) {
    return false;
  }
  Advance(progress::kCollectListing, progress::kCollectEnd);
  return true;
}

bool ReportCollector::WhiteSequence(_RuleSiroSumType type) {
  if (!EnsureWhite()) return false;
  Advance(progress::kCollectStart, progress::kCollectReady);
  if (white_->Ready() != kEngineOk) return false;
  Advance(progress::kCollectReady, progress::kCollectListing);
  ClRuleSiro& rule = *white_;
  const std::int32_t count = rule.GetCount_PL(type);
  const Recoding recoding =
      type == RuleSiroSumGeneral ? kWhiteGeneralProfit : kWhiteRealEstateProfit;
  if (!CopyList<StSIROSUMINFO>(
          count, [&](StSIROSUMINFO* row) { return rule.MoveFirst_PL(type, row); },
          [&](StSIROSUMINFO* row) { return rule.MoveNext_PL(type, row); }, recoding)) {
    return false;
  }
  Advance(progress::kCollectListing, progress::kCollectEnd);
  return true;
}

bool ReportCollector::ReadMonthlyTotals() {
  if (!EnsureBlue() || !MakeBlueReady()) return false;
  return blue_->GetTsukibetsuUriageShiire(&data_->MonthlyTotals) == kEngineOk;
}

// The general statement's deduction needs the real-estate income, which only
// the real-estate profit and loss list holds.
bool ReportCollector::TransferRealEstateIncome() {
  if (!EnsureBlue() || !MakeBlueReady()) return false;
  const std::int32_t count = blue_->GetCount_PL(RuleAoSumRealEstate);
  StAOSUMINFO row;
  std::memset(&row, 0, sizeof row);
  if (!RowCallOk(blue_->MoveFirst_PL(RuleAoSumRealEstate, &row))) return false;
  // The walk looks only at the rows after the first-row call's.
  for (std::int32_t i = 0; i < count; ++i) {
    Pump();
    if (blue_->MoveNext_PL(RuleAoSumRealEstate, &row) != kEngineOk) break;
    if (row.LineNo == kRealEstateIncomeLine) {
      StIPPAN_BASIC* basic = data_->GeneralSaveInfo.Basic;
      if (basic != nullptr) basic->RealEstateIncome = row.ClosingBalance;
      break;
    }
  }
  return true;
}

// ------------------------------------------------------ progress

void ReportCollector::Advance(std::int16_t from, std::int16_t to) {
  if (progress_ != nullptr) progress_->Advance(from, to);
}

void ReportCollector::Pump() {
  if (progress_ != nullptr) progress_->Pump();
}

}  // namespace pv14
